#pragma once
// The settings file: an INI file beside the executable, Shift_JIS, CR LF.
// parseSettings() gives the raw values (absent or unreadable integers are -1,
// absent strings are empty); the main window applies each key's read rule.

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QString>
#include <QStringList>
#include <array>

struct Settings {
    // [Font]
    QString fontType;
    int fontSize = -1;
    int color = -1;
    int bkColor = -1;
    // [Key]
    int input = -1;
    int wordWrap = -1;
    // [Tool]
    int bar = -1;
    int build = -1;
    int search = -1;
    int function = -1;
    // [MR] 1..5
    std::array<QString, 5> mr;
    // [MTag] 0..9
    std::array<QString, 10> mtag;
    // [File]
    int drive = -1;
    QString directory;
    // [MKey] 0..16
    std::array<QString, 17> mkey;
    // [MTree]
    QString tree;
    // [Size]
    int sizeX = -1;
    int sizeY = -1;
    // [View]
    int coloring = -1;
    int preview = -1;
    // [Charset]
    QString newEncoding;   // the encoding of new documents by name; empty: Shift_JIS
};

// Reads the file's bytes.  The first occurrence of a key wins; lines that are
// not "[section]" or "key=value", and lines longer than kMaxLineBytes, are
// skipped; an integer that is not a plain decimal number counts as absent.  A
// text value is taken exactly as written, blanks at either end included.
Settings parseSettings(QByteArrayView bytes);
inline constexpr qsizetype kMaxSettingsLineBytes = 64 * 1024;

// Writes every key in the file's order, each value exactly as it stands.  A
// text value that cannot stand on one INI line (a line break or NUL) or that
// Shift_JIS cannot hold is never written, nor written empty: the key keeps
// its value in `previous` (what the file held).  `kept`, when given, receives
// "Section/Key" of each key so kept.
QByteArray formatSettings(const Settings& s, const Settings& previous = {},
                          QStringList* kept = nullptr);

// Why a text cannot be kept in the settings file, for a message (a character
// Shift_JIS cannot hold is named as saving a document names it); empty when
// it can.
QString settingsTextProblem(const QString& text);

// The 16 colours of the settings file, by index 0-15 (the named colours).
QColor settingsColor(int index);           // invalid QColor outside 0-15
int settingsColorIndex(const QColor& c);   // -1 when not one of the 16

// Reads the file: empty Settings (all defaults) when it is missing or unreadable.
Settings loadSettingsFile(const QString& path);
// Writes the file through QSaveFile; false (with *error set) on failure.  A
// value that cannot be written keeps what the file at `path` held (`kept` as
// for formatSettings).
bool saveSettingsFile(const QString& path, const Settings& s, QString* error = nullptr,
                      QStringList* kept = nullptr);
