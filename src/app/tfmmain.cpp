#include "app/tfmmain.h"

#include "app/documentload.h"
#include "app/linemap.h"

#include "app/tfmver.h"
#include "platform/clock.h"
#include "platform/prompts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QResizeEvent>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

TFmMain::TFmMain(Prompts& prompts, Options options, QWidget* parent)
    : QMainWindow(parent), m_prompts(prompts), m_options(std::move(options))
{
    setObjectName(QStringLiteral("FmMain"));
    setWindowTitle(kProduct);
    if (m_options.clock) {
        m_clock = m_options.clock;
    } else {
        m_ownClock = std::make_unique<Clock>();
        m_clock = m_ownClock.get();
    }

    // FormCreate: the window's font is the default editor font, on white.
    QFont base(QStringLiteral("ＭＳ Ｐゴシック"));
    base.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    base.setPointSize(9);
    m_look.font = base;
    m_look.color = QApplication::palette().color(QPalette::Active, QPalette::Text);
    m_look.bkColor = QColor(255, 255, 255);

    m_c = MainLayout::build(*this);
    m_documents = std::make_unique<Documents>(*m_c.EditControl, *m_clock);
    connect(m_documents.get(), &Documents::added, this, &TFmMain::showNewDocument);
    connect(m_documents.get(), &Documents::ready, this, &TFmMain::finishFilling);
    connect(m_documents.get(), &Documents::cancelled, this, &TFmMain::closeDocument);
    connect(m_documents.get(), &Documents::stateChanged, this, &TFmMain::showDocumentState);
    connect(m_documents.get(), &Documents::loading, this, [this](Document* d, qsizetype, qsizetype) {
        if (d == currentDocument())
            showLoadProgress();
    });
    m_activeEditMenu = m_c.EditMenu1;
    connect(m_c.EditControl, &QTabWidget::currentChanged, this, [this](int) {
        if (!m_closingTab)
            EditControlChange();
    });
    connect(m_c.About1, &QAction::triggered, this, [this] {
        createVersionWindow();
        m_prompts.execDialog(*m_fmVer);
    });
    m_c.About1->setEnabled(true);
    connect(m_c.MExit, &QAction::triggered, this, &QWidget::close);
    m_c.MExit->setEnabled(true);

    resize(640, 465);
    m_settingsPath = chooseSettingsPath();
    LoadSettings();
    m_settingsLoaded = true;

    if (m_options.compose)
        m_options.compose(*this);
}

TFmMain::~TFmMain()
{
    // Tool windows hold references into the units, and units pointers into
    // this window: the windows go first, then the units, then the rest.
    const QList<QWidget*> children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* w : children)
        if (w->isWindow())
            delete w;
    m_fmVer = nullptr;
    m_settingsClients.clear();
    m_units.clear();
}

void TFmMain::adoptUnit(std::unique_ptr<QObject> unit)
{
    m_units.push_back(std::move(unit));
}

void TFmMain::createVersionWindow()
{
    if (!m_fmVer)
        m_fmVer = new TFmVer(this);
}

QString TFmMain::chooseSettingsPath() const
{
    const QString primary = m_options.settingsPath;
    if (primary.isEmpty())
        return m_options.fallbackSettingsPath;
    const QFileInfo file(primary);
    const QFileInfo dir(file.absolutePath());
    const bool writable = dir.isDir() && dir.isWritable() && (!file.exists() || file.isWritable());
    if (writable || m_options.fallbackSettingsPath.isEmpty())
        return primary;
    QDir().mkpath(QFileInfo(m_options.fallbackSettingsPath).absolutePath());
    return m_options.fallbackSettingsPath;
}

// ------------------------------------------------------------------ lookups

QAction* TFmMain::action(const char* name) const
{
    return findChild<QAction*>(QLatin1String(name));
}

QMenu* TFmMain::menu(const char* name) const
{
    return findChild<QMenu*>(QLatin1String(name));
}

QString TFmMain::newDocumentCharset() const
{
    const charset::Encoding e = m_documents->newDocumentEncoding();
    return e == charset::Encoding::ShiftJis ? QString() : charset::charsetLabel(e);
}

QString TFmMain::statusPanel(int i) const
{
    return (i >= 0 && i < MainControls::kStatusPanels) ? m_c.StatusPanel[i]->text() : QString();
}

void TFmMain::setStatusPanel(int i, const QString& text)
{
    if (i >= 0 && i < MainControls::kStatusPanels)
        m_c.StatusPanel[i]->setText(text);
}

// ------------------------------------------------------------------ documents

bool TFmMain::hasDocument() const
{
    return m_c.EditControl->currentIndex() >= 0;
}

DocumentEditor* TFmMain::CurrentEdit() const
{
    const Document* d = m_documents->current();
    return d ? d->edit : nullptr;
}

DocumentEditor* TFmMain::EditByNumber(int n) const
{
    const Document* d = m_documents->byNumber(n);
    return d ? d->edit : nullptr;
}

QWidget* TFmMain::TabByNumber(int n) const
{
    const Document* d = m_documents->byNumber(n);
    return d ? d->tab : nullptr;
}

void TFmMain::applyEditorLook(QPlainTextEdit& edit) const
{
    edit.setFont(m_look.font);
    QPalette p = edit.palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Text, m_look.color);
        p.setColor(group, QPalette::Base, m_look.bkColor);
    }
    // The selection stays visible while the editor is not focused.
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    edit.setPalette(p);
}

std::optional<TFmMain::EditorLook> TFmMain::currentEditorLook() const
{
    const DocumentEditor* e = CurrentEdit();
    if (!e)
        return std::nullopt;
    EditorLook look;
    look.font = e->font();
    look.color = e->palette().color(QPalette::Active, QPalette::Text);
    look.bkColor = e->palette().color(QPalette::Active, QPalette::Base);
    return look;
}

void TFmMain::setEditorLook(const EditorLook& look)
{
    m_look = look;
    for (int n = 1; n <= DocumentCount(); ++n)
        if (DocumentEditor* e = EditByNumber(n))
            applyEditorLook(*e);
}

void TFmMain::claimEditorKeys(const QList<QKeySequence>& keys)
{
    for (const QKeySequence& k : keys)
        if (!k.isEmpty() && !m_windowKeys.contains(k))
            m_windowKeys.append(k);
    for (int n = 1; n <= DocumentCount(); ++n)
        if (DocumentEditor* e = EditByNumber(n))
            e->setWindowKeys(m_windowKeys);
}

Document& TFmMain::NewDocument()
{
    return m_documents->create();
}

void TFmMain::showNewDocument(Document& doc)
{
    EnableDocumentCommands();
    DocumentEditor* edit = doc.edit;
    QWidget* tab = doc.tab;
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setTabChangesFocus(false);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setLineWrapMode(m_c.MWordWrap->isChecked() ? QPlainTextEdit::WidgetWidth
                                                     : QPlainTextEdit::NoWrap);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    applyEditorLook(*edit);
    edit->setWindowKeys(m_windowKeys);
    edit->document()->setModified(false);

    connect(edit, &DocumentEditor::keyPressed, this, [this](QKeyEvent* e) { AssistKeyPress(e); });
    connect(edit, &DocumentEditor::keyReleased, this, [this](QKeyEvent*) { AssistKeyUp(); });
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit] {
        EditChanged(edit);
        if (!m_documents->filling())
            if (Document* d = m_documents->byNumber(edit->number))
                m_documents->announceEdit(*d);
    });
    connect(edit, &QPlainTextEdit::cursorPositionChanged, this, [this, edit] {
        if (edit == CurrentEdit())
            UpdateCaret();
    });
    connect(edit, &QPlainTextEdit::selectionChanged, this, [this, edit] {
        if (edit == CurrentEdit())
            UpdateCaret();
    });
    connect(edit, &DocumentEditor::mousePressed, this, [this] { UpdateCaret(); });
    connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& p) {
        if (m_activeEditMenu)
            m_activeEditMenu->exec(edit->mapToGlobal(p));
    });
    connect(edit, &DocumentEditor::tagTreeDropped, this, [this, edit] {
        if (edit == CurrentEdit())
            emit m_events.tagTreeDropped();
    });

    // The tab is added, then made current: the tab switch handler must not
    // run for a document that is still being made.
    m_closingTab = true;
    const int index = m_c.EditControl->addTab(tab, Documents::tabCaption(doc));
    m_c.EditControl->setCurrentIndex(index);
    m_closingTab = false;
    setCaptionForCurrent();
    setStatusPanel(1, kStatusUnchanged);
    setStatusPanel(kEncodingPanel, charset::encodingName(doc.encoding));
    emit m_events.currentDocumentChanged();
}

void TFmMain::finishFilling(Document& doc)
{
    doc.saveTime = kSaveTimeUnsaved;
    doc.edit->document()->setModified(false);
    m_c.EditControl->setTabText(m_c.EditControl->indexOf(doc.tab), Documents::tabCaption(doc));
    setCaptionForCurrent();
    setStatusPanel(2, doc.saveTime);
    setStatusPanel(kEncodingPanel, charset::encodingName(doc.encoding));
    doc.edit->setFocus();
    showLoadProgress();
    UpdateCaret();
}

void TFmMain::showLoadProgress()
{
    const Document* d = currentDocument();
    const DocumentLoad* load = d ? DocumentLoad::of(d->edit->document()) : nullptr;
    if (!load || load->total() <= 0) {
        m_c.LoadProgress->hide();
        return;
    }
    m_c.LoadProgress->setValue(int(load->done() * 100 / load->total()));
    m_c.LoadProgress->show();
}

void TFmMain::closeDocument(int n)
{
    Document* doc = m_documents->byNumber(n);
    if (!doc)
        return;
    QWidget* tab = doc->tab;
    const int index = m_c.EditControl->indexOf(tab);
    m_documents->remove(n);

    m_closingTab = true;
    m_c.EditControl->removeTab(index);
    delete tab;
    m_closingTab = false;

    m_c.MUndo->setEnabled(false);
    m_c.ToolUndo->setEnabled(false);
    showLoadProgress();

    if (m_c.EditControl->count() == 0) {
        afterLastClose();
        emit m_events.currentDocumentChanged();
        return;
    }
    // The right neighbour takes the closed tab's place; the new rightmost
    // tab when the closed one was the last.
    m_c.EditControl->setCurrentIndex(qMin(index, m_c.EditControl->count() - 1));
    DocumentEditor* e = CurrentEdit();
    ShowModified(e->document()->isModified());
    setCaptionForCurrent();
    UpdateCaret();
    e->setFocus();
    emit m_events.currentDocumentChanged();
}

void TFmMain::afterLastClose()
{
    setStatusPanel(1, kStatusUnchanged);
    setStatusPanel(kEncodingPanel, QString());
    setWindowTitle(kProduct + QLatin1Char(' '));
    DisableDocumentCommands();
    UpdateCaret();
}

void TFmMain::setCaptionForCurrent()
{
    if (const Document* d = m_documents->current())
        setWindowTitle(kProduct + QStringLiteral(" - ") + d->path);
}

// The one place a document's path, file flag, save time and status reach
// the tab, the caption and the status panels.
void TFmMain::showDocumentState(Document* doc)
{
    if (!doc)
        return;
    m_c.EditControl->setTabText(m_c.EditControl->indexOf(doc->tab), Documents::tabCaption(*doc));
    if (doc != m_documents->current())
        return;
    setCaptionForCurrent();
    setStatusPanel(1, doc->status());
    setStatusPanel(2, doc->saveTime);
    setStatusPanel(kEncodingPanel, charset::encodingName(doc->encoding));
}

void TFmMain::EditControlChange()
{
    Document* d = currentDocument();
    if (!d)
        return;
    setCaptionForCurrent();
    m_c.ToolUndo->setEnabled(false);
    m_c.MUndo->setEnabled(false);
    setStatusPanel(1, d->status());
    setStatusPanel(2, d->saveTime);
    setStatusPanel(kEncodingPanel, charset::encodingName(d->encoding));
    showLoadProgress();
    UpdateCaret();
    d->edit->setFocus();
    emit m_events.currentDocumentChanged();
}

void TFmMain::EditChanged(DocumentEditor* edit)
{
    if (m_documents->filling())
        return;
    // A document that is not current can change only through a command
    // working on it; its status is its editor's modified flag.
    if (edit != CurrentEdit())
        return;
    ShowModified(edit->document()->isModified());
    m_c.ToolUndo->setEnabled(true);
    m_c.MUndo->setEnabled(true);
}

void TFmMain::ShowModified(bool changed)
{
    Document* d = currentDocument();
    if (!d)
        return;
    if (changed) {
        setStatusPanel(1, kStatusChanged);
    } else {
        setStatusPanel(1, kStatusUnchanged);
        setStatusPanel(2, d->saveTime);
    }
}

void TFmMain::setSuperMode()
{
    m_superMode = true;
    setStatusPanel(4, QStringLiteral("SuperMode"));
    emit m_events.superModeChanged(true);
}

// ------------------------------------------------------------------ caret

void TFmMain::UpdateCaret()
{
    m_caretTagText.clear();
    DocumentEditor* edit = CurrentEdit();
    if (!edit) {
        m_caretLine = 0;
        m_caretColumn = 0;
    } else {
        const QTextCursor cursor = edit->textCursor();
        LineMap& map = LineMap::of(edit->document());
        const LineMap::Position at = map.positionOf(cursor.position());
        m_caretLine = at.line;
        m_caretColumn = at.column;
        m_caretTagText = map.tagAround(cursor.position());
    }
    setStatusPanel(0, QStringLiteral("  行 ： %1 列 ： %2").arg(m_caretLine).arg(m_caretColumn));
    emit m_events.caretTagUpdated(m_caretTagText);
}

// ------------------------------------------------------------------ insertion

void TFmMain::InsertAtCaret(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
    if (DocumentEditor* e = CurrentEdit())
        e->paste();
}

void TFmMain::InsertTag(const QString& tagText)
{
    const qsizetype gt = tagText.indexOf(u'>');
    if (gt < 0)
        return;
    InsertAtCaret(tagText.left(gt + 1) + selectedText() + tagText.mid(gt + 1));
}

bool TFmMain::insertText(const QString& text)
{
    DocumentEditor* e = CurrentEdit();
    if (!e)
        return false;
    DocumentLoad::finishNow(e->document());
    QTextCursor c = e->textCursor();
    c.beginEditBlock();
    lines::insertText(c, text);
    c.endEditBlock();
    e->setTextCursor(c);
    return true;
}

QString TFmMain::selectedText() const
{
    DocumentEditor* e = CurrentEdit();
    if (!e)
        return QString();
    const QTextCursor c = e->textCursor();
    return LineMap::of(e->document()).textBetween(c.selectionStart(), c.selectionEnd());
}

QString TFmMain::lineText(int line) const
{
    DocumentEditor* e = CurrentEdit();
    if (!e)
        return QString();
    return LineMap::of(e->document()).lineText(line);
}

void TFmMain::focusEditor()
{
    if (DocumentEditor* e = CurrentEdit())
        e->setFocus();
}

void TFmMain::AssistKeyPress(QKeyEvent* e)
{
    const QString t = e->text();
    if (t != QLatin1String("<") && t != QLatin1String("\""))
        return;
    // Only a character that went in is completed: a read-only editor drops it.
    if (const DocumentEditor* edit = CurrentEdit()) {
        const QTextCursor c = edit->textCursor();
        if (edit->isReadOnly() || c.hasSelection() || c.position() == 0
            || edit->document()->characterAt(c.position() - 1) != t.at(0))
            return;
    }
    m_assistPending = t == QLatin1String("<") ? 1 : 2;
}

void TFmMain::AssistKeyUp()
{
    if (m_c.MInput->isChecked() && m_assistPending != 0) {
        InsertAtCaret(m_assistPending == 1 ? QStringLiteral(">") : QStringLiteral("\""));
        if (DocumentEditor* e = CurrentEdit())
            e->moveCursor(QTextCursor::PreviousCharacter);
    }
    // A key typed while the mode was off must not be completed later, when
    // the mode is turned on and some other key is released.
    m_assistPending = 0;
    UpdateCaret();
}

// ------------------------------------------------------------------ switch

void TFmMain::EnableDocumentCommands()
{
    if (hasDocument())
        return;
    m_documentCommands.setEnabled(true);
}

void TFmMain::DisableDocumentCommands()
{
    if (hasDocument())
        return;
    m_documentCommands.setEnabled(false);
}

// ------------------------------------------------------------------ settings

void TFmMain::LoadSettings()
{
    m_settings = loadSettingsFile(m_settingsPath);
    load(m_settings);
}

void TFmMain::addSettingsClient(SettingsClient& client)
{
    m_settingsClients.push_back(&client);
    client.load(m_settings);
}

void TFmMain::load(const Settings& s)
{
    if (!s.fontType.isEmpty()) {
        QStringList families = m_look.font.families();
        families.prepend(s.fontType);
        m_look.font.setFamilies(families);
    }
    if (s.fontSize != -1 && s.fontSize > 0 && s.fontSize < 1000)
        m_look.font.setPointSize(s.fontSize);
    if (QColor c = settingsColor(s.color); c.isValid())
        m_look.color = c;
    if (QColor c = settingsColor(s.bkColor); c.isValid())
        m_look.bkColor = c;

    if (s.sizeX != -1 || s.sizeY != -1) {
        const int w = s.sizeX != -1 ? qBound(100, s.sizeX, 20000) : width();
        const int h = s.sizeY != -1 ? qBound(100, s.sizeY, 20000) : height();
        resize(w, h);
    }
}

void TFmMain::store(Settings& s) const
{
    s.fontType = m_look.font.families().value(0, m_look.font.family());
    s.fontSize = m_look.font.pointSize();
    const int ci = settingsColorIndex(m_look.color);
    s.color = ci < 0 ? 0 : ci;
    s.bkColor = settingsColorIndex(m_look.bkColor);
    s.sizeX = width();
    s.sizeY = height();
}

bool TFmMain::SaveSettings()
{
    store(m_settings);
    for (SettingsClient* c : m_settingsClients)
        c->store(m_settings);

    QString error;
    if (saveSettingsFile(m_settingsPath, m_settings, &error))
        return true;
    if (!m_settingsFailureShown) {
        m_settingsFailureShown = true;
        m_prompts.message(this, kProduct,
                          QStringLiteral("設定ファイル %1 に書き込めませんでした（%2）。\n"
                                         "この実行中の設定は保存されません。")
                              .arg(QDir::toNativeSeparators(m_settingsPath), error),
                          Prompts::Icon::Warning, Prompts::Buttons::Ok);
    }
    return false;
}

// ------------------------------------------------------------------ window events

namespace {

// Whether `w` is a window of its own made with `main` as its owner (a
// builder, tool window or dialog).
bool ownedBy(const QWidget* w, const QWidget* main)
{
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (p == main)
            return true;
    return false;
}

// The builders and tool windows go with the main window.  Qt's own quit
// would not take them: it closes windows one by one and gives up at the first
// that refuses (the builders that only hide themselves), leaving the others
// on screen; and as windows owned by another they never end the program when
// the user closes them afterwards.
void closeOwnedWindows(QWidget* main)
{
    QList<QPointer<QWidget>> owned;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != main && w->isVisible() && ownedBy(w, main))
            owned << w;
    for (const QPointer<QWidget>& w : owned) {
        if (w)
            w->close();   // their own clean-up: a sound stops
        if (w)
            w->hide();    // also those that refuse
    }
}

} // namespace

void TFmMain::closeEvent(QCloseEvent* event)
{
    if (m_formClose) {
        if (!m_formClose()) {
            event->ignore();
            return;
        }
    } else {
        SaveSettings();
    }
    event->accept();
    closeOwnedWindows(this);
}

void TFmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The size restored while loading arrives as the first resize event when
    // the window is shown; it is not a change to save.
    if (m_settingsLoaded && event->oldSize().isValid() && event->oldSize() != event->size())
        SaveSettings();
}
