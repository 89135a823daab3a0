#pragma once
// Key control: seventeen Ctrl+letter shortcuts, each inserting an editable
// text.  Slot numbers are the rows of the key-control dialog and the keys of
// the settings file's [MKey] section; the items are CT1 ... CT18 without CT9.

#include <QKeySequence>
#include <QString>
#include <array>

inline constexpr int kKeySlotCount = 17;

struct KeySlot {
    const char* item;          // "CT1"
    Qt::Key key;               // pressed with Ctrl
    const char* label;         // "Ctrl+A", as the dialog shows it
    const char* defaultText;   // UTF-8
};

inline constexpr std::array<KeySlot, kKeySlotCount> kKeySlots = {{
    {"CT1", Qt::Key_A, "Ctrl+A", "<A HREF=\"\"></A>"},
    {"CT2", Qt::Key_M, "Ctrl+M", "<BR>"},
    {"CT3", Qt::Key_D, "Ctrl+D", "<DIV></DIV>"},
    {"CT4", Qt::Key_F, "Ctrl+F", "<FONT></FONT>"},
    {"CT5", Qt::Key_H, "Ctrl+H", "<HR>"},
    {"CT6", Qt::Key_G, "Ctrl+G", "<IMG SRC=\"\">"},
    {"CT7", Qt::Key_B, "Ctrl+B", "<B></B>"},
    {"CT8", Qt::Key_L, "Ctrl+L", "<LI>"},
    {"CT10", Qt::Key_N, "Ctrl+N", "<OL></OL>"},
    {"CT11", Qt::Key_U, "Ctrl+U", "<P>"},
    {"CT12", Qt::Key_W, "Ctrl+W", "<PRE></PRE>"},
    {"CT13", Qt::Key_Y, "Ctrl+Y", "<P></P>"},
    {"CT14", Qt::Key_T, "Ctrl+T", "<TABLE></TABLE>"},
    {"CT15", Qt::Key_E, "Ctrl+E", "<TD></TD>"},
    {"CT16", Qt::Key_R, "Ctrl+R", "<TR></TR>"},
    {"CT17", Qt::Key_K, "Ctrl+K", "<UL></UL>"},
    {"CT18", Qt::Key_Q, "Ctrl+Q", "<!-- -->"},
}};

inline QKeySequence keySlotShortcut(int slot)
{
    return QKeySequence(Qt::CTRL | kKeySlots[size_t(slot)].key);
}

inline QString keySlotDefault(int slot)
{
    return QString::fromUtf8(kKeySlots[size_t(slot)].defaultText);
}
