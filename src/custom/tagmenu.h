#pragma once
// The tag menu: ten slots of the editor's second right-click menu, chosen
// from a fixed list of 99 common tags, each with a one-line description.

#include <QString>
#include <array>
#include <vector>

inline constexpr int kTagSlotCount = 10;
inline constexpr int kTagEntryCount = 99;
using TagSlots = std::array<QString, kTagSlotCount>;

// The value of an empty slot.
inline const QString kUnregistered = QStringLiteral("（未登録）");

struct TagEntry {
    const char* tag;           // UTF-8
    const char* description;   // UTF-8
};
extern const std::array<TagEntry, kTagEntryCount> kTagEntries;

QString tagEntryText(int entry);
QString tagEntryDescription(int entry);

// The slots after a confirmed choice: the checked entries (rows of the list,
// any order) fill the slots in list order from slot 0; the rest are empty.
// Entries beyond the tenth in list order are left out.
TagSlots slotsFromChecked(std::vector<int> checkedRows);
