#include "tagtree/lotfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>

namespace {

// Longest node text quoted in a message box.
constexpr qsizetype kMessageTextLimit = 200;

QString shortened(const QString& text)
{
    if (text.size() <= kMessageTextLimit)
        return text;
    qsizetype cut = kMessageTextLimit;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QStringLiteral("…");
}

} // namespace

LotReadResult readLot(QByteArrayView bytes, TagTree& tree, qsizetype maxLevels)
{
    LotReadResult result;
    // A NUL ends the text.
    const char* data = bytes.data();
    qsizetype size = bytes.size();
    if (size > 0) {
        if (const void* nul = std::memchr(data, 0, size_t(size)))
            size = static_cast<const char*>(nul) - data;
    }

    // path[d]: the node on the current chain at level d.
    std::vector<TagNode*> path;
    qsizetype prevLevel = -1;
    qsizetype lineNo = 0;
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        ++lineNo;

        qsizetype level = 0;
        while (pos + level < end && (data[pos + level] == '\t' || data[pos + level] == ' '))
            ++level;
        const QByteArrayView textBytes(data + pos + level, end - pos - level);

        // Next line: CR LF is one line end; a lone CR or LF is one each.
        pos = end;
        if (pos < size) {
            if (data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n')
                pos += 2;
            else
                pos += 1;
        }

        TagNode* parent = nullptr;
        qsizetype nodeLevel = 0;
        if (prevLevel < 0) {
            // The first line is always a top-level node, whatever its indentation.
            nodeLevel = 0;
        } else if (level > prevLevel + 1) {
            if (!result.tooDeep)
                result.levelError = LotLevelError{sjis::decode(textBytes), level, lineNo};
            return result;
        } else {
            nodeLevel = level;
        }
        if (nodeLevel >= maxLevels && !result.tooDeep)
            result.tooDeep = LotDepthError{0, lineNo};
        if (result.tooDeep) {
            // Only the depth is still wanted, for the message.
            result.tooDeep->depth = std::max(result.tooDeep->depth, nodeLevel + 1);
            prevLevel = nodeLevel;
            continue;
        }
        parent = nodeLevel > 0 ? path[size_t(nodeLevel) - 1] : nullptr;
        TagNode* n = tree.append(parent, sjis::decode(textBytes), 2);
        if (path.size() <= size_t(nodeLevel))
            path.push_back(n);
        else
            path[size_t(nodeLevel)] = n;
        prevLevel = nodeLevel;
        ++result.nodes;
    }
    return result;
}

QString lotLevelErrorMessage(const LotLevelError& e)
{
    return QStringLiteral("アイテム \"%1\" の階層 (%2) が不正です")
        .arg(shortened(e.text), QString::number(e.level));
}

QString lotCannotOpenMessage(const QString& path)
{
    return QStringLiteral("ファイル %1 は開けません").arg(path);
}

QString lotTooDeepMessage(const QString& path, qsizetype depth)
{
    return QStringLiteral("ファイル %1 は開けません\nツリーの階層が %2 段あり、深すぎます（%3 段まで開けます）")
        .arg(path, QString::number(depth), QString::number(kMaxTagTreeLevels));
}

QString lotCannotCreateMessage(const QString& path)
{
    return QStringLiteral("ファイル %1 を作成できません").arg(path);
}

QString withLotExtension(const QString& path)
{
    if (path.isEmpty())
        return path;
    const QString name = QFileInfo(path).fileName();
    if (name.contains(u'.'))
        return path;
    return path + QStringLiteral(".lot");
}

namespace {

// Writes the file's lines to `sink` in pieces of about a megabyte, so that a
// deep tree (whose indentation alone can be large) is never held whole.
template <class Sink>
bool emitLot(const TagTree& tree, sjis::EncodeError* error, Sink&& sink)
{
    constexpr qsizetype kChunk = 1 << 20;
    QByteArray buffer;
    bool ok = true;
    qsizetype line = 0;
    const TagNode* root = tree.root();
    const TagNode* n = TagTree::nextPreorder(root, root);
    int level = 0;
    while (ok && n) {
        ++line;
        sjis::EncodeError e;
        const std::optional<QByteArray> text = sjis::encode(n->text, &e);
        if (!text) {
            if (error) {
                *error = e;
                error->line = line;
                error->column = e.column + level;
            }
            return false;
        }
        for (int i = 0; i < level; ++i) {
            buffer.append('\t');
            if (buffer.size() >= kChunk) {
                if (!sink(QByteArrayView(buffer)))
                    return false;
                buffer.clear();
            }
        }
        buffer.append(*text);
        buffer.append("\r\n", 2);
        if (buffer.size() >= kChunk) {
            ok = sink(QByteArrayView(buffer));
            buffer.clear();
        }
        // Advance, keeping the level in step.
        if (!n->children.empty()) {
            n = n->children.front();
            ++level;
            continue;
        }
        while (n != root) {
            const TagNode* p = n->parent;
            if (size_t(n->row) + 1 < p->children.size()) {
                n = p->children[size_t(n->row) + 1];
                break;
            }
            n = p;
            --level;
        }
        if (n == root)
            n = nullptr;
    }
    if (ok && !buffer.isEmpty())
        ok = sink(QByteArrayView(buffer));
    return ok;
}

} // namespace

std::optional<QByteArray> formatLot(const TagTree& tree, sjis::EncodeError* error)
{
    QByteArray out;
    const bool ok = emitLot(tree, error, [&](QByteArrayView piece) {
        out.append(piece);
        return true;
    });
    if (!ok)
        return std::nullopt;
    return out;
}

std::optional<QByteArray> readLotFile(const QString& path, QString* message)
{
    auto fail = [&](const QString& text) {
        if (message)
            *message = text;
        return std::nullopt;
    };
    const QFileInfo info(path);
    // Only regular files: a folder, a pipe or a device is not a tree file.
    if (path.isEmpty() || !info.exists() || !info.isFile())
        return fail(lotCannotOpenMessage(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(lotCannotOpenMessage(path));
    const qint64 size = file.size();
    if (size > kMaxLotFileBytes)
        return fail(QStringLiteral("ファイル %1 は大きすぎて開けません").arg(path));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxLotFileBytes)
        return fail(lotCannotOpenMessage(path));
    return bytes;
}

bool writeLotFile(const QString& path, const TagTree& tree, QString* message)
{
    QSaveFile file(path);
    if (path.isEmpty() || QFileInfo(path).isDir() || !file.open(QIODevice::WriteOnly)) {
        if (message)
            *message = lotCannotCreateMessage(path);
        return false;
    }
    sjis::EncodeError e;
    bool encodeFailed = false;
    const bool ok = emitLot(tree, &e, [&](QByteArrayView piece) {
        return file.write(piece.data(), piece.size()) == piece.size();
    });
    if (!ok) {
        encodeFailed = e.line > 0;
        file.cancelWriting();
        if (message) {
            *message = lotCannotCreateMessage(path);
            if (encodeFailed)
                *message += QLatin1Char('\n') + sjis::describe(e);
        }
        return false;
    }
    if (!file.commit()) {
        if (message)
            *message = lotCannotCreateMessage(path);
        return false;
    }
    return true;
}
