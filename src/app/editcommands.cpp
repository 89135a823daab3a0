#include "app/editcommands.h"

#include "app/prompts.h"
#include "app/tfmmain.h"
#include "platform/clock.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>

QStringList dateTimeCaptions(const QDateTime& t)
{
    static const char* const weekdays[7] = {"（月）", "（火）", "（水）", "（木）",
                                            "（金）", "（土）", "（日）"};
    const QDate d = t.date();
    const QTime h = t.time();
    const QString date2 = QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day());
    return {QStringLiteral("%1/%2/%3").arg(d.year()).arg(d.month()).arg(d.day()), date2,
            date2 + QString::fromUtf8(weekdays[(d.dayOfWeek() + 6) % 7]),
            QStringLiteral("%1:%2:%3JST").arg(h.hour()).arg(h.minute()).arg(h.second()),
            QStringLiteral("%1時%2分%3秒").arg(h.hour()).arg(h.minute()).arg(h.second())};
}

EditCommands::EditCommands(TFmMain& main) : m(main)
{
    m_searchEdit = m.findChild<QLineEdit*>(QStringLiteral("SearchEdit"));
    m_searchEdit->installEventFilter(this);
    auto* btnSearch = m.findChild<QPushButton*>(QStringLiteral("BtnSearch"));

    auto on = [this](const char* name, auto&& f) {
        QAction* a = m.action(name);
        connect(a, &QAction::triggered, this, f);
        return a;
    };
    auto withEdit = [this](void (QPlainTextEdit::*op)()) {
        return [this, op] {
            if (DocumentEditor* e = m.CurrentEdit())
                (e->*op)();
        };
    };

    on("MUndo", withEdit(&QPlainTextEdit::undo));
    on("ToolUndo", withEdit(&QPlainTextEdit::undo));
    for (const char* n : {"MCut", "MCut2", "ToolCut"})
        on(n, withEdit(&QPlainTextEdit::cut));
    for (const char* n : {"MCopy", "MCopy2", "ToolCopy"})
        on(n, withEdit(&QPlainTextEdit::copy));
    for (const char* n : {"MPaste", "MPaste2", "ToolPaste"})
        on(n, withEdit(&QPlainTextEdit::paste));
    on("MDelete", [this] { MDeleteClick(); });
    on("MOne", [this] { MOneClick(); });
    on("NOne2", [this] { MOneClick(); });
    on("MAllSelect", withEdit(&QPlainTextEdit::selectAll));
    on("MBr", [this] { m.InsertTag(QStringLiteral("<BR>")); });
    on("MHr", [this] { m.InsertTag(QStringLiteral("<HR>")); });
    for (const char* n : {"MDate1", "MDate2", "MDate3", "MHour1", "MHour2"}) {
        QAction* a = m.action(n);
        connect(a, &QAction::triggered, this, [this, a] {
            if (m.hasDocument())
                m.InsertAtCaret(a->text());
        });
    }
    connect(m.menu("MEdition"), &QMenu::aboutToShow, this, &EditCommands::MEditionClick);

    connect(btnSearch, &QPushButton::clicked, this, &EditCommands::BtnSearchClick);
    on("MFindFocus", [this] { MFindFocusClick(); });
    on("FSearch", [this] { MFindFocusClick(); });
    on("MSuper", [this] { MSuperClick(); });

    on("MToolbar", [this](bool shown) { setBar("MToolbar", "ToolBar", shown); m.SaveSettings(); });
    on("MBuild", [this](bool shown) { setBar("MBuild", "ToolPanel", shown); m.SaveSettings(); });
    on("MSearch", [this](bool shown) {
        setBar("MSearch", "SearchPanel", shown);
        if (shown)
            m_searchEdit->setFocus();
        m.SaveSettings();
    });
    on("MFK", [this](bool shown) { setBar("MFK", "FKBar", shown); m.SaveSettings(); });
    on("MInput", [this](bool) { m.SaveSettings(); });
    on("MWordWrap", [this](bool wrap) { MWordWrapClick(wrap); });

    // Always available.
    for (const char* n : {"MToolbar", "MBuild", "MSearch", "MFK", "MInput", "MWordWrap",
                          "MFindFocus", "MSuper", "MCut2", "MCopy2", "MPaste2", "NOne2", "MBr",
                          "MHr", "MDate1", "MDate2", "MDate3", "MHour1", "MHour2"})
        m.action(n)->setEnabled(true);
    // Available while a document is open.
    CommandSwitch& sw = m.documentCommands();
    for (const char* n : {"MCut", "MCopy", "MPaste", "MDelete", "MAllSelect", "MDate", "MOne",
                          "ToolUndo", "ToolCut", "ToolCopy", "ToolPaste", "FSearch"})
        sw.add(m.action(n));
    sw.add(btnSearch);
}

void EditCommands::setBar(const char* item, const char* bar, bool shown)
{
    m.action(item)->setChecked(shown);
    if (QWidget* w = m.findChild<QWidget*>(QLatin1String(bar)))
        w->setVisible(shown);
}

void EditCommands::MEditionClick()
{
    const QStringList captions = dateTimeCaptions(m.clock().now());
    const char* const names[5] = {"MDate1", "MDate2", "MDate3", "MHour1", "MHour2"};
    for (int i = 0; i < 5; ++i)
        m.action(names[i])->setText(captions[i]);
}

void EditCommands::MOneClick()
{
    DocumentEditor* e = m.CurrentEdit();
    if (!e)
        return;
    // From the caret position of the last caret update: the start of that
    // line, then as many characters as the line holds, without its break.
    const QTextBlock block = e->document()->findBlockByNumber(m.caretLine());
    if (!block.isValid())
        return;
    QTextCursor c(e->document());
    c.setPosition(block.position());
    c.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

void EditCommands::MDeleteClick()
{
    DocumentEditor* e = m.CurrentEdit();
    if (!e)
        return;
    e->cut();
    QGuiApplication::clipboard()->clear();
}

void EditCommands::FindNext()
{
    DocumentEditor* e = m.CurrentEdit();
    if (!e)
        return;
    const QString needle = m_searchEdit->text();
    if (needle.isEmpty()) {
        e->setFocus();
        return;
    }
    // Document positions and the raw text's indexes are the same (one
    // separator character between lines).
    const QString text = e->document()->toRawText();
    qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive);
    if (at < 0) {
        m.prompts().message(&m, QStringLiteral("Quillnest4"),
                            QStringLiteral("検索範囲に \"%1\" 見つけられませんでした").arg(needle),
                            Prompts::Icon::Error, Prompts::Buttons::Ok);
        e->setFocus();
        return;
    }
    // From SearchPos onwards, else from the start again.  The first match
    // in the text is already the answer when it lies at or after SearchPos.
    if (at < SearchPos) {
        const qsizetype next =
            SearchPos <= text.size() ? text.indexOf(needle, SearchPos, Qt::CaseInsensitive) : -1;
        if (next >= 0)
            at = next;
        else
            SearchPos = 0;
    }
    SearchPos = at + needle.size();
    QTextCursor c(e->document());
    c.setPosition(int(at));
    c.setPosition(int(at + needle.size()), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
    e->ensureCursorVisible();
    e->setFocus();
}

void EditCommands::BtnSearchClick()
{
    QWidget* bar = m.findChild<QWidget*>(QStringLiteral("SearchPanel"));
    if (bar->isVisible()) {
        FindNext();
        return;
    }
    bar->show();
    m.action("MSearch")->setChecked(true);
    m_searchEdit->setFocus();
}

void EditCommands::MFindFocusClick()
{
    QWidget* bar = m.findChild<QWidget*>(QStringLiteral("SearchPanel"));
    if (bar->isVisible()) {
        bar->hide();
        m.action("MSearch")->setChecked(false);
        if (DocumentEditor* e = m.CurrentEdit())
            e->setFocus();
    } else {
        bar->show();
        m.action("MSearch")->setChecked(true);
        m_searchEdit->setFocus();
    }
}

void EditCommands::MSuperClick()
{
    m.SuperMode = true;
    m.setStatusPanel(4, QStringLiteral("SuperMode"));
}

void EditCommands::MWordWrapClick(bool on)
{
    m.action("MWordWrap")->setChecked(on);
    for (int n = 1; n <= m.DocumentCount(); ++n)
        if (DocumentEditor* e = m.EditByNumber(n))
            e->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m.SaveSettings();
}

bool EditCommands::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_searchEdit && event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        const auto mods = k->modifiers() & ~Qt::KeypadModifier;
        if (enter && mods == Qt::ShiftModifier) {
            FindNext();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
