#include "app/tfmmain.h"

#include "app/mainlayout.h"
#include "app/prompts.h"
#include "app/tfmver.h"
#include "app/units.h"
#include "platform/clock.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString kChanged = QStringLiteral("変更あり");
const QString kUnchanged = QStringLiteral("変更なし");
const QString kUnsaved = QStringLiteral("保存時間：(未保存)");
const QString kProduct = QStringLiteral("Quillnest4");
} // namespace

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
    editorFont = base;
    editorColor = QApplication::palette().color(QPalette::Active, QPalette::Text);
    editorBkColor = QColor(255, 255, 255);

    MainLayout::build(*this);
    m_editControl = findChild<QTabWidget*>(QStringLiteral("EditControl"));
    for (int i = 0; i < 6; ++i)
        m_panels[i] = findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
    activeEditMenu = menu("EditMenu1");
    connect(m_editControl, &QTabWidget::currentChanged, this, [this](int) {
        if (!m_closingTab)
            EditControlChange();
    });
    connect(action("About1"), &QAction::triggered, this, [this] {
        m_prompts.execDialog(*m_fmVer);
    });
    action("About1")->setEnabled(true);
    connect(action("MExit"), &QAction::triggered, this, &QWidget::close);
    action("MExit")->setEnabled(true);

    resize(640, 465);
    m_settingsPath = chooseSettingsPath();
    LoadSettings();
    m_settingsLoaded = true;

    m_units = createCommandUnits(*this);
    createVersionWindow(); // if the units did not make it in its turn
}

TFmMain::~TFmMain()
{
    // Units hold pointers into the window; let them go first.
    m_units.clear();
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

QString TFmMain::statusPanel(int i) const
{
    return (i >= 0 && i < 6 && m_panels[i]) ? m_panels[i]->text() : QString();
}

void TFmMain::setStatusPanel(int i, const QString& text)
{
    if (i >= 0 && i < 6 && m_panels[i])
        m_panels[i]->setText(text);
}

// ------------------------------------------------------------------ documents

bool TFmMain::hasDocument() const
{
    return m_editControl && m_editControl->currentIndex() >= 0;
}

DocumentEditor* TFmMain::CurrentEdit() const
{
    if (!hasDocument())
        return nullptr;
    const QWidget* tab = m_editControl->currentWidget();
    const QString name = tab->objectName();
    return findChild<DocumentEditor*>(QStringLiteral("RichEdit") + name.mid(8));
}

Document* TFmMain::currentDocument()
{
    DocumentEditor* e = CurrentEdit();
    return e ? documentByNumber(e->number) : nullptr;
}

Document* TFmMain::documentByNumber(int n)
{
    auto it = m_documents.find(n);
    return it == m_documents.end() ? nullptr : &it->second;
}

DocumentEditor* TFmMain::EditByNumber(int n) const
{
    auto it = m_documents.find(n);
    return it == m_documents.end() ? nullptr : it->second.edit;
}

QWidget* TFmMain::TabByNumber(int n) const
{
    auto it = m_documents.find(n);
    return it == m_documents.end() ? nullptr : it->second.tab;
}

void TFmMain::applyEditorLook(QPlainTextEdit& edit) const
{
    edit.setFont(editorFont);
    QPalette p = edit.palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Text, editorColor);
        p.setColor(group, QPalette::Base, editorBkColor);
    }
    // The selection stays visible while the editor is not focused.
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    edit.setPalette(p);
}

Document& TFmMain::NewDocument()
{
    EnableDocumentCommands();
    const int n = ++m_documentCount;

    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet%1").arg(n));
    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(0, 0, 0, 0);

    Document& doc = m_documents[n];
    doc.number = n;
    doc.status = kUnchanged;
    doc.saveTime = kUnsaved;
    doc.tab = tab;

    auto* edit = new DocumentEditor(tab);
    edit->setObjectName(QStringLiteral("RichEdit%1").arg(n));
    edit->number = n;
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setTabChangesFocus(false);
    edit->setFocusPolicy(Qt::ClickFocus);
    edit->setLineWrapMode(action("MWordWrap")->isChecked() ? QPlainTextEdit::WidgetWidth
                                                            : QPlainTextEdit::NoWrap);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    applyEditorLook(*edit);
    edit->document()->setModified(false);
    layout->addWidget(edit);
    doc.edit = edit;
    doc.path = QStringLiteral("Page%1").arg(n);

    connect(edit, &DocumentEditor::keyPressed, this, [this](QKeyEvent* e) { AssistKeyPress(e); });
    connect(edit, &DocumentEditor::keyReleased, this, [this](QKeyEvent*) { AssistKeyUp(); });
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit] { EditChanged(edit); });
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
        if (activeEditMenu)
            activeEditMenu->exec(edit->mapToGlobal(p));
    });

    // The tab is added, then made current: the tab switch handler must not
    // run for a document that is still being made.
    m_closingTab = true;
    const int index = m_editControl->addTab(tab, QStringLiteral("Page%1").arg(n));
    m_editControl->setCurrentIndex(index);
    m_closingTab = false;
    setCaptionForCurrent();
    setStatusPanel(1, kUnchanged);
    emit currentDocumentChanged();
    return doc;
}

void TFmMain::finishFilling(Document& doc)
{
    doc.saveTime = kUnsaved;
    setStatusPanel(2, doc.saveTime);
    doc.edit->document()->setModified(false);
    doc.edit->setFocus();
    UpdateCaret();
}

void TFmMain::closeDocument(int n)
{
    auto it = m_documents.find(n);
    if (it == m_documents.end())
        return;
    QWidget* tab = it->second.tab;
    const int index = m_editControl->indexOf(tab);
    m_documents.erase(it);

    m_closingTab = true;
    m_editControl->removeTab(index);
    delete tab;
    m_closingTab = false;

    action("MUndo")->setEnabled(false);
    action("ToolUndo")->setEnabled(false);

    if (m_editControl->count() == 0) {
        afterLastClose();
        emit currentDocumentChanged();
        return;
    }
    // The right neighbour takes the closed tab's place; the new rightmost
    // tab when the closed one was the last.
    m_editControl->setCurrentIndex(qMin(index, m_editControl->count() - 1));
    DocumentEditor* e = CurrentEdit();
    ShowModified(e->document()->isModified());
    setCaptionForCurrent();
    UpdateCaret();
    e->setFocus();
    emit currentDocumentChanged();
}

void TFmMain::afterLastClose()
{
    setStatusPanel(1, kUnchanged);
    setWindowTitle(kProduct + QLatin1Char(' '));
    DisableDocumentCommands();
    UpdateCaret();
}

void TFmMain::setCaptionForCurrent()
{
    if (const Document* d = const_cast<TFmMain*>(this)->currentDocument())
        setWindowTitle(kProduct + QStringLiteral(" - ") + d->path);
}

void TFmMain::EditControlChange()
{
    Document* d = currentDocument();
    if (!d)
        return;
    setCaptionForCurrent();
    action("ToolUndo")->setEnabled(false);
    action("MUndo")->setEnabled(false);
    setStatusPanel(1, d->status);
    setStatusPanel(2, d->saveTime);
    UpdateCaret();
    d->edit->setFocus();
    emit currentDocumentChanged();
}

void TFmMain::EditChanged(DocumentEditor* edit)
{
    if (FillingDocument)
        return;
    if (edit != CurrentEdit()) {
        // A document that is not current can change only through a command
        // working on it; keep its own status right.
        if (Document* d = documentByNumber(edit->number))
            d->status = edit->document()->isModified() ? kChanged : kUnchanged;
        return;
    }
    ShowModified(edit->document()->isModified());
    action("ToolUndo")->setEnabled(true);
    action("MUndo")->setEnabled(true);
}

void TFmMain::ShowModified(bool changed)
{
    Document* d = currentDocument();
    if (!d)
        return;
    if (changed) {
        d->status = kChanged;
        setStatusPanel(1, kChanged);
    } else {
        d->status = kUnchanged;
        setStatusPanel(1, kUnchanged);
        setStatusPanel(2, d->saveTime);
    }
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
        const QTextBlock block = cursor.block();
        m_caretLine = block.blockNumber();
        m_caretColumn = cursor.positionInBlock();
        // Only the stretch between the nearest '<' before the caret and the
        // nearest '>' after it is looked at, never the whole line.
        const QTextDocument* doc = edit->document();
        const int lineStart = block.position();
        const int lineEnd = lineStart + block.length() - 1; // before the separator
        const int caret = cursor.position();
        int start = -1;
        for (int p = caret - 1; p >= lineStart; --p) {
            if (doc->characterAt(p) == u'<') {
                start = p;
                break;
            }
        }
        if (start >= 0) {
            for (int p = caret; p < lineEnd; ++p) {
                if (doc->characterAt(p) == u'>') {
                    // Character by character: a text cursor would lay out
                    // the whole line to place itself.
                    m_caretTagText.reserve(p + 1 - start);
                    for (int q = start; q <= p; ++q)
                        m_caretTagText += doc->characterAt(q);
                    break;
                }
            }
        }
    }
    setStatusPanel(0, QStringLiteral("  行 ： %1 列 ： %2").arg(m_caretLine).arg(m_caretColumn));
    emit caretTagUpdated(m_caretTagText);
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
    DocumentEditor* e = CurrentEdit();
    QString selected;
    if (e) {
        selected = e->textCursor().selectedText();
        selected.replace(QChar(0x2029), QLatin1Char('\n'));
    }
    InsertAtCaret(tagText.left(gt + 1) + selected + tagText.mid(gt + 1));
}

void TFmMain::AssistKeyPress(QKeyEvent* e)
{
    const QString t = e->text();
    if (t == QLatin1String("<"))
        AssistPending = 1;
    else if (t == QLatin1String("\""))
        AssistPending = 2;
}

void TFmMain::AssistKeyUp()
{
    if (action("MInput")->isChecked() && AssistPending != 0) {
        InsertAtCaret(AssistPending == 1 ? QStringLiteral(">") : QStringLiteral("\""));
        if (DocumentEditor* e = CurrentEdit())
            e->moveCursor(QTextCursor::PreviousCharacter);
    }
    // A key typed while the mode was off must not be completed later, when
    // the mode is turned on and some other key is released.
    AssistPending = 0;
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
    const Settings& s = m_settings;

    if (!s.fontType.isEmpty()) {
        QStringList families = editorFont.families();
        families.prepend(s.fontType);
        editorFont.setFamilies(families);
    }
    if (s.fontSize != -1 && s.fontSize > 0 && s.fontSize < 1000)
        editorFont.setPointSize(s.fontSize);
    if (QColor c = settingsColor(s.color); c.isValid())
        editorColor = c;
    if (QColor c = settingsColor(s.bkColor); c.isValid())
        editorBkColor = c;

    if (s.input == 0)
        action("MInput")->setChecked(false);
    if (s.wordWrap == 0)
        action("MWordWrap")->setChecked(true);
    if (s.bar == 1) {
        action("MToolbar")->setChecked(false);
        findChild<QWidget*>(QStringLiteral("ToolBar"))->hide();
    }
    if (s.build == 1) {
        action("MBuild")->setChecked(false);
        findChild<QWidget*>(QStringLiteral("ToolPanel"))->hide();
    }
    if (s.search == 0) {
        action("MSearch")->setChecked(true);
        findChild<QWidget*>(QStringLiteral("SearchPanel"))->show();
    }
    if (s.function == 0) {
        action("MFK")->setChecked(true);
        findChild<QWidget*>(QStringLiteral("FKBar"))->show();
    }
    for (int i = 0; i < 5; ++i) {
        const QString& v = s.mr[size_t(i)];
        action(QStringLiteral("MR%1").arg(i + 1).toLatin1().constData())
            ->setText(v.isEmpty() ? QStringLiteral("(なし)") : v);
    }
    for (int i = 0; i < 10; ++i) {
        const QString& v = s.mtag[size_t(i)];
        QAction* a = action(QStringLiteral("MTag%1").arg(i).toLatin1().constData());
        a->setText(v.isEmpty() ? QStringLiteral("（未登録）") : v);
    }
    for (int i = 0; i < 17; ++i) {
        const QString& v = s.mkey[size_t(i)];
        if (!v.isEmpty())
            MainLayout::keyControlAction(*this, i)->setText(v);
    }
    if (s.sizeX != -1 || s.sizeY != -1) {
        const int w = s.sizeX != -1 ? qBound(100, s.sizeX, 20000) : width();
        const int h = s.sizeY != -1 ? qBound(100, s.sizeY, 20000) : height();
        resize(w, h);
    }
    // The tag menu shows exactly the registered items.
    for (int i = 0; i < 10; ++i) {
        QAction* a = action(QStringLiteral("MTag%1").arg(i).toLatin1().constData());
        a->setVisible(a->text() != QStringLiteral("（未登録）"));
    }
}

bool TFmMain::SaveSettings()
{
    Settings& s = m_settings;
    s.fontType = editorFont.families().value(0, editorFont.family());
    s.fontSize = editorFont.pointSize();
    const int ci = settingsColorIndex(editorColor);
    s.color = ci < 0 ? 0 : ci;
    s.bkColor = settingsColorIndex(editorBkColor);
    s.input = action("MInput")->isChecked() ? 1 : 0;
    s.wordWrap = action("MWordWrap")->isChecked() ? 0 : 1;
    s.bar = action("MToolbar")->isChecked() ? 0 : 1;
    s.build = action("MBuild")->isChecked() ? 0 : 1;
    s.search = action("MSearch")->isChecked() ? 0 : 1;
    s.function = action("MFK")->isChecked() ? 0 : 1;
    for (int i = 0; i < 5; ++i)
        s.mr[size_t(i)] = action(QStringLiteral("MR%1").arg(i + 1).toLatin1().constData())->text();
    for (int i = 0; i < 10; ++i)
        s.mtag[size_t(i)] = action(QStringLiteral("MTag%1").arg(i).toLatin1().constData())->text();
    for (int i = 0; i < 17; ++i)
        s.mkey[size_t(i)] = MainLayout::keyControlAction(*this, i)->text();
    s.sizeX = width();
    s.sizeY = height();

    QString error;
    if (saveSettingsFile(m_settingsPath, s, &error))
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

void TFmMain::closeEvent(QCloseEvent* event)
{
    if (onFormClose) {
        if (onFormClose())
            event->accept();
        else
            event->ignore();
        return;
    }
    SaveSettings();
    event->accept();
}

void TFmMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The size restored while loading arrives as the first resize event when
    // the window is shown; it is not a change to save.
    if (m_settingsLoaded && event->oldSize().isValid() && event->oldSize() != event->size())
        SaveSettings();
}
