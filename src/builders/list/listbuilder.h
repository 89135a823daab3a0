#pragma once
// The HTML the list builder writes: a whole list (<UL>, <OL> or <DL>) from
// its items, and the tag of a single item.  Nothing is escaped.

#include <QString>
#include <QStringList>

enum class ListKind { Plain = 0, Numbered = 1, Definition = 2 };

struct ListTexts {
    QString opening;      // "<UL>", "<OL Type=a Start=3>", "<DL>"
    QString closing;      // "</UL>", "</OL>", "</DL>"
    QString definition;   // "  <DD>定義された項目" for the definition list, else empty
};

// `type` and `start` are used only by the numbered list.
ListTexts listTexts(ListKind kind, const QString& type, const QString& start);

// The opening line, per item "  <LI>item" (or "  <DT>item" and the
// definition line), the closing line; CR LF after every line.
QString listHtml(ListKind kind, const QString& type, const QString& start, const QStringList& items);

// Caption of the single-item popup entry: "<LI>" or "<DT>" followed directly
// by the selected item (just the prefix with no item selected).
QString listItemTag(ListKind kind, const QString* selectedItem);

// The item field holds one line: each line break (CR, LF, CR LF, U+2028,
// U+2029) in `text` becomes one space.  `pos`, a place in the text, keeps to
// the same place.
void joinLines(QString& text, int* pos = nullptr);
