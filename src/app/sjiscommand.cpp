#include "app/sjiscommand.h"

#include "app/linemap.h"

#include "app/tfmmain.h"
#include "charset/sjis.h"
#include "app/document.h"
#include "platform/busy.h"
#include "app/documentload.h"
#include "app/documents.h"
#include "platform/product.h"
#include "platform/prompts.h"

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

std::optional<sjis::EncodeError> makeShiftJis(Document& doc)
{
    const QString text = editorText(*doc.edit);
    sjis::EncodeError error;
    if (!sjis::encode(text, &error))
        return error;
    doc.encoding = charset::Encoding::ShiftJis;
    // A page that says what it is in says Shift_JIS from now on.
    QByteArray head(std::min<qsizetype>(text.size(), 4096), '?');
    for (qsizetype i = 0; i < head.size(); ++i)
        if (text[i].unicode() < 0x80)
            head[i] = char(text[i].unicode());
    if (const auto label = charset::declaredCharsetLabel(head);
        label && QStringView(text).sliced(label->first, label->second)
                     .compare(charset::charsetLabel(charset::Encoding::ShiftJis), Qt::CaseInsensitive) != 0) {
        const QStringView before = QStringView(text).first(label->first);
        const int line = int(before.count(u'\n'));
        const int column = int(label->first - (before.lastIndexOf(u'\n') + 1));
        const int at = LineMap::of(doc.edit->document()).documentPositionAt(line, column);
        QTextCursor c(doc.edit->document());
        c.setPosition(at);
        c.setPosition(at + int(label->second), QTextCursor::KeepAnchor);
        c.insertText(charset::charsetLabel(charset::Encoding::ShiftJis));
    }
    doc.edit->document()->setModified(true);
    return std::nullopt;
}

void SjisCommandUnit::MSjisClick()
{
    if (!m_main.hasDocument())
        return;
    Document* doc = m_main.currentDocument();
    if (!doc)
        return;
    const BusyCursor busy;
    if (doc->encoding != charset::Encoding::ShiftJis) {
        // The text is read right already: it is the document that turns
        // Shift_JIS, when Shift_JIS can hold all of it.
        DocumentLoad::finishNow(doc->edit->document());
        if (const std::optional<sjis::EncodeError> error = makeShiftJis(*doc)) {
            m_main.prompts().message(&m_main, kProduct,
                                     QStringLiteral("Shift_JIS に変換できません。\n%1").arg(sjis::describe(*error)),
                                     Prompts::Icon::Warning, Prompts::Buttons::Ok);
            return;
        }
        m_main.documents().announce(*doc);
        return;
    }
    convertEditorToSjis(AutoSjisConv1, *doc->edit);
}
