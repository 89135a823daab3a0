#pragma once
// A copy of a document's raw text (QTextDocument::toRawText) kept up to date
// edit by edit, in pieces that share their characters.  Taking the whole
// text for another thread then costs a reference per piece; taking it from
// the document costs a fresh allocation of the whole text each time, which
// for a big page is a noticeable pause of the window.

#include <QObject>
#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class QTextDocument;

class TextMirror final : public QObject {
    Q_OBJECT
public:
    struct Piece {
        QString text;          // shared with other pieces and with copies taken
        qsizetype from = 0;
        qsizetype size = 0;
        QStringView view() const { return QStringView(text).sliced(from, size); }
    };
    using Text = std::vector<Piece>;

    // The mirror of `doc` (made on first use): an editor's document holds
    // its own; a plain QTextDocument gets one as a child.
    static TextMirror& of(QTextDocument* doc);
    // A mirror of `doc` for its owner to hold (not a child of it).
    static std::unique_ptr<TextMirror> make(QTextDocument* doc);

    // The document's raw text now, in pieces.  Taken from the document the
    // first time, and again after an edit the mirror could not follow.
    Text text();
    static QString join(const Text& text);

    // Grows with every edit that may have moved where blocks or lines end
    // (a separator went or came, or a block's format may have changed).
    quint64 structure() const { return m_structure; }

private:
    explicit TextMirror(QTextDocument* doc);
    void changed(int position, int removed, int added);
    void forget();
    // Makes a piece start at `position`; the index of that piece.
    size_t splitAt(qsizetype position);

    QTextDocument* m_doc;
    Text m_pieces;
    qsizetype m_size = 0;
    bool m_valid = false;
    quint64 m_structure = 0;
};
