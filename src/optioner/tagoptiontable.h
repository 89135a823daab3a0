#pragma once
// The tag attribute table: the options (attributes) that 46 HTML tags accept,
// each with a one-line Japanese description, and the lookup of the entry for
// the tag text under the caret.

#include <QString>
#include <QStringView>
#include <span>

struct TagOptionRow {
    const char* option;       // upper-case ASCII attribute name
    const char* description;  // UTF-8
};

struct TagOptionEntry {
    const char* name;                   // upper-case ASCII tag name
    std::span<const TagOptionRow> rows; // in display order; a name may repeat

    // "<" + name + ">", e.g. "<APPLET>".
    QString caption() const;
};

// All entries in table order.
std::span<const TagOptionEntry> TagOptionTable();

// True when `tagText` starts with "<" + name followed by a blank or ">" (ASCII
// letters compared without regard to case).
bool tagOptionEntryMatches(const TagOptionEntry& entry, QStringView tagText);

// The first entry of the table whose name opens `tagText`, or nullptr.
const TagOptionEntry* FindTagOptions(QStringView tagText);
