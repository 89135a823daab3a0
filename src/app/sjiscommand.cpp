#include "app/sjiscommand.h"

#include "app/linemap.h"

#include "app/tfmmain.h"
#include "charset/sjis.h"
#include "app/document.h"
#include "platform/busy.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstring>


QString convertTextToSjis(TAutoSjisConv& conv, QStringView text)
{
    // The whole text at once when it can be held as Shift_JIS (a '\n' byte
    // never occurs inside a Shift_JIS character or a raw-byte stand-in).
    if (std::optional<QByteArray> bytes = sjis::encode(text)) {
        bytes->truncate(qsizetype(conv.convertLines(bytes->data(), std::size_t(bytes->size()))));
        return sjis::decode(*bytes);
    }
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    for (;;) {
        const qsizetype nl = text.indexOf(u'\n', start);
        const QStringView line = text.mid(start, (nl < 0 ? text.size() : nl) - start);
        if (std::optional<QByteArray> bytes = sjis::encode(line)) {
            bytes->truncate(qsizetype(conv.convertInPlace(bytes->data(), std::size_t(bytes->size()))));
            out += sjis::decode(*bytes);
        } else {
            out += line;
        }
        if (nl < 0)
            break;
        out += u'\n';
        start = nl + 1;
    }
    return out;
}

bool convertEditorToSjis(TAutoSjisConv& conv, QPlainTextEdit& edit)
{
    const QString before = editorText(edit);
    const QString after = convertTextToSjis(conv, before);
    if (after == before)
        return false;
    LineMap& map = LineMap::of(edit.document());
    const LineMap::Position old = map.positionOf(edit.textCursor().position());

    QTextCursor c(edit.document());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(lines::lineStartFormat(c.blockFormat()));
    lines::insertText(c, after);
    c.endEditBlock();

    // The caret goes back to its line and column, or the end of the line.
    if (const int at = map.documentPositionAt(old.line, old.column); at >= 0) {
        QTextCursor caret(edit.document());
        caret.setPosition(at);
        edit.setTextCursor(caret);
    }
    return true;
}

SjisCommandUnit::SjisCommandUnit(TFmMain& main) : m_main(main)
{
    connect(main.controls().MSjis, &QAction::triggered, this, &SjisCommandUnit::MSjisClick);
    main.documentCommands().add(main.controls().MSjis);
}

void SjisCommandUnit::MSjisClick()
{
    if (!m_main.hasDocument())
        return;
    if (QPlainTextEdit* edit = m_main.CurrentEdit()) {
        const BusyCursor busy;
        convertEditorToSjis(AutoSjisConv1, *edit);
    }
}
