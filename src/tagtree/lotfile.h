#pragma once
// Layout tag files (.lot): the tag tree as indented Shift_JIS text, one
// node per line, TABs for the levels, CR LF after every line.  Qt Core only.

#include "charset/sjis.h"
#include "tagtree/tagnode.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// A line more than one level deeper than the line before.
struct LotLevelError {
    QString text;          // the line's text without its indentation
    qsizetype level = 0;   // its indentation
    qsizetype line = 0;    // 1-based line number
};

// A tree deeper than the reader was allowed to build.
struct LotDepthError {
    qsizetype depth = 0;   // levels of the file's tree (as far as it reads)
    qsizetype line = 0;    // 1-based number of the first line too deep
};

struct LotReadResult {
    qsizetype nodes = 0;                       // nodes added before any error
    std::optional<LotLevelError> levelError;   // the load stopped here
    std::optional<LotDepthError> tooDeep;      // the file is refused
};

// Reads a file's bytes into `tree` (appended to what it holds; callers clear
// it first).  The nodes made before a level error stay.  A line deeper than
// `maxLevels` stops the building; the rest is only scanned to learn the
// file's depth, and the caller should drop what was built.
LotReadResult readLot(QByteArrayView bytes, TagTree& tree, qsizetype maxLevels = kMaxTagTreeLevels);

// アイテム "text" の階層 (level) が不正です; a very long text is shortened.
QString lotLevelErrorMessage(const LotLevelError& e);

// The file's bytes: every node's line, or nullopt with *error set when a
// node's text holds a character that Shift_JIS cannot hold.
std::optional<QByteArray> formatLot(const TagTree& tree, sjis::EncodeError* error = nullptr);

// Files larger than this are refused rather than read into memory.
inline constexpr qint64 kMaxLotFileBytes = qint64(512) * 1024 * 1024;

// Reads a whole .lot file.  On failure returns nullopt and *message holds
// the text to show ("ファイル %s は開けません" and its kin).
std::optional<QByteArray> readLotFile(const QString& path, QString* message);

// Writes the tree through QSaveFile (an existing file is replaced only when
// the whole tree was written).  On failure returns false and *message holds
// the text to show.
bool writeLotFile(const QString& path, const TagTree& tree, QString* message);

// The messages of the tree's file commands.
QString lotCannotOpenMessage(const QString& path);
QString lotTooDeepMessage(const QString& path, qsizetype depth);
QString lotCannotCreateMessage(const QString& path);

// Save-dialog rule: ".lot" is appended only to a name without extension.
QString withLotExtension(const QString& path);
