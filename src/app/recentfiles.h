#pragma once
// The recent-file list: the captions of the five items MR1..MR5 under
// "開き直す(&R)".  Each caption is a full path or "(なし)" for an empty slot.
// New paths fill the items in a fixed turn 1, 2, 3, 4, 5, 1, ... that starts
// again at 1 in every run (the turn is not stored).

#include <QString>
#include <array>

class RecentFiles {
public:
    static constexpr int kCount = 5;
    using Captions = std::array<QString, kCount>;

    static QString emptyCaption();                 // "(なし)"

    // True when `path` equals one of the captions exactly (letter case counts).
    static bool contains(const Captions& captions, const QString& path);
    // True when the item's caption names a file (differs from "(なし)").
    static bool isFilled(const QString& caption) { return caption != emptyCaption(); }

    // Puts a saved path into the list: when no caption equals it, the caption
    // of item `slot()` becomes the path and the turn advances.  Returns the
    // number (1..5) of the item changed, or 0 when the path was already listed.
    int add(Captions& captions, const QString& path);

    int slot() const { return m_slot; }            // RecentSlot, 1..5

private:
    int m_slot = 1;
};
