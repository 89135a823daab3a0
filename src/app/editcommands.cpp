#include "app/editcommands.h"

#include "app/documentload.h"
#include "app/linemap.h"
#include "app/tfmmain.h"
#include "platform/prompts.h"
#include "platform/clock.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QToolBar>
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

// The bars of the View menu: item, bar, and their key in [Tool] (0 when
// shown, 1 when hidden; the tool bar and side panel are shown unless the
// key says 1, the search and function-key bars hidden unless it says 0).
struct EditCommands::Bar {
    QAction* MainControls::*item;
    QWidget* (*widget)(const MainControls&);
    int Settings::*key;
    bool shownByDefault;
};

const EditCommands::Bar EditCommands::kBars[4] = {
    {&MainControls::MToolbar, [](const MainControls& c) -> QWidget* { return c.ToolBar; },
     &Settings::bar, true},
    {&MainControls::MBuild, [](const MainControls& c) { return c.ToolPanel; }, &Settings::build,
     true},
    {&MainControls::MSearch, [](const MainControls& c) { return c.SearchPanel; },
     &Settings::search, false},
    {&MainControls::MFK, [](const MainControls& c) -> QWidget* { return c.FKBar; },
     &Settings::function, false},
};

EditCommands::EditCommands(TFmMain& main) : m(main)
{
    const MainControls& c = m.controls();
    m_searchEdit = c.SearchEdit;
    m_searchEdit->installEventFilter(this);

    auto on = [this](QAction* a, auto&& f) { connect(a, &QAction::triggered, this, f); };
    auto withEdit = [this](void (QPlainTextEdit::*op)()) {
        return [this, op] {
            if (DocumentEditor* e = m.CurrentEdit())
                (e->*op)();
        };
    };

    on(c.MUndo, withEdit(&QPlainTextEdit::undo));
    on(c.ToolUndo, withEdit(&QPlainTextEdit::undo));
    for (QAction* a : {c.MCut, c.MCut2, c.ToolCut})
        on(a, [this] {
            if (DocumentEditor* e = m.CurrentEdit())
                e->cutSelection();
        });
    for (QAction* a : {c.MCopy, c.MCopy2, c.ToolCopy})
        on(a, withEdit(&QPlainTextEdit::copy));
    for (QAction* a : {c.MPaste, c.MPaste2, c.ToolPaste})
        on(a, withEdit(&QPlainTextEdit::paste));
    on(c.MDelete, [this] { MDeleteClick(); });
    on(c.MOne, [this] { MOneClick(); });
    on(c.NOne2, [this] { MOneClick(); });
    on(c.MAllSelect, withEdit(&QPlainTextEdit::selectAll));
    on(c.MBr, [this] { m.InsertTag(QStringLiteral("<BR>")); });
    on(c.MHr, [this] { m.InsertTag(QStringLiteral("<HR>")); });
    for (QAction* a : c.MDateItems) {
        connect(a, &QAction::triggered, this, [this, a] {
            if (m.hasDocument())
                m.InsertAtCaret(a->text());
        });
    }
    connect(c.MEdition, &QMenu::aboutToShow, this, &EditCommands::MEditionClick);

    connect(c.BtnSearch, &QPushButton::clicked, this, &EditCommands::BtnSearchClick);
    on(c.MFindFocus, [this] { MFindFocusClick(); });
    on(c.FSearch, [this] { MFindFocusClick(); });
    on(c.MSuper, [this] { MSuperClick(); });

    for (const Bar& bar : kBars) {
        on(c.*bar.item, [this, &bar](bool shown) {
            setBar(bar, shown);
            if (shown && bar.item == &MainControls::MSearch)
                m_searchEdit->setFocus();
            m.SaveSettings();
        });
    }
    on(c.MInput, [this](bool) { m.SaveSettings(); });
    on(c.MWordWrap, [this](bool wrap) { MWordWrapClick(wrap); });

    // Always available.
    for (QAction* a : {c.MToolbar, c.MBuild, c.MSearch, c.MFK, c.MInput, c.MWordWrap, c.MFindFocus,
                       c.MSuper, c.MCut2, c.MCopy2, c.MPaste2, c.NOne2, c.MBr, c.MHr})
        a->setEnabled(true);
    for (QAction* a : c.MDateItems)
        a->setEnabled(true);
    // Available while a document is open.
    CommandSwitch& sw = m.documentCommands();
    for (QAction* a : {c.MCut, c.MCopy, c.MPaste, c.MDelete, c.MAllSelect, c.MDate->menuAction(),
                       c.MOne, c.ToolUndo, c.ToolCut, c.ToolCopy, c.ToolPaste, c.FSearch})
        sw.add(a);
    sw.add(c.BtnSearch);
}

void EditCommands::load(const Settings& s)
{
    const MainControls& c = m.controls();
    if (s.input == 0)
        c.MInput->setChecked(false);
    if (s.wordWrap == 0)
        c.MWordWrap->setChecked(true);
    for (const Bar& bar : kBars) {
        const int v = s.*bar.key;
        const bool shown = bar.shownByDefault ? v != 1 : v == 0;
        if (shown != bar.shownByDefault)
            setBar(bar, shown);
    }
}

void EditCommands::store(Settings& s) const
{
    const MainControls& c = m.controls();
    s.input = c.MInput->isChecked() ? 1 : 0;
    s.wordWrap = c.MWordWrap->isChecked() ? 0 : 1;
    for (const Bar& bar : kBars)
        s.*bar.key = (m.controls().*bar.item)->isChecked() ? 0 : 1;
}

void EditCommands::setBar(const Bar& bar, bool shown)
{
    const MainControls& c = m.controls();
    (c.*bar.item)->setChecked(shown);
    bar.widget(c)->setVisible(shown);
}

void EditCommands::MEditionClick()
{
    const QStringList captions = dateTimeCaptions(m.clock().now());
    for (int i = 0; i < 5; ++i)
        m.controls().MDateItems[i]->setText(captions[i]);
}

void EditCommands::MOneClick()
{
    DocumentEditor* e = m.CurrentEdit();
    if (!e)
        return;
    // From the caret position of the last caret update: the start of that
    // line, then as many characters as the line holds, without its break.
    LineMap& map = LineMap::of(e->document());
    const int start = map.lineStartPosition(m.caretLine());
    if (start < 0)
        return;
    QTextCursor c(e->document());
    c.setPosition(start);
    c.setPosition(map.lineEndPosition(start), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
}

void EditCommands::MDeleteClick()
{
    DocumentEditor* e = m.CurrentEdit();
    if (!e)
        return;
    e->cutSelection();
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
    // Matches are found in the file's text, across the pieces a long line
    // is held in; SearchPos counts in that text too.
    DocumentLoad::finishNow(e->document());
    std::vector<qsizetype> joins;
    LineMap& map = LineMap::of(e->document());
    // Without pieces, document positions are the raw text's indexes.
    const QString text = map.hasPieces() ? map.text(&joins) : e->document()->toRawText();
    qsizetype at = text.indexOf(needle, 0, Qt::CaseInsensitive);
    if (at < 0) {
        m.prompts().message(&m, kProduct,
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
    c.setPosition(documentPositionOf(at, joins, true));
    c.setPosition(documentPositionOf(at + needle.size(), joins, false), QTextCursor::KeepAnchor);
    e->setTextCursor(c);
    e->ensureCursorVisible();
    e->setFocus();
}

void EditCommands::BtnSearchClick()
{
    QWidget* bar = m.controls().SearchPanel;
    if (bar->isVisible()) {
        FindNext();
        return;
    }
    bar->show();
    m.controls().MSearch->setChecked(true);
    m_searchEdit->setFocus();
}

void EditCommands::MFindFocusClick()
{
    QWidget* bar = m.controls().SearchPanel;
    if (bar->isVisible()) {
        bar->hide();
        m.controls().MSearch->setChecked(false);
        if (DocumentEditor* e = m.CurrentEdit())
            e->setFocus();
    } else {
        bar->show();
        m.controls().MSearch->setChecked(true);
        m_searchEdit->setFocus();
    }
}

void EditCommands::MSuperClick()
{
    m.setSuperMode();
}

void EditCommands::MWordWrapClick(bool on)
{
    m.controls().MWordWrap->setChecked(on);
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
