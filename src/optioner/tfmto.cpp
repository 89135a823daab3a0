#include "optioner/tfmto.h"

#include "app/icons.h"
#include "app/editorport.h"
#include "optioner/tagoptiontable.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
const QString kNoOptions = QStringLiteral("オプションはありません");
const QString kNothing = QStringLiteral("(なし)");
} // namespace

void TagOptionList::mousePressEvent(QMouseEvent* e)
{
    QTableWidget::mousePressEvent(e);
    // A press on an empty part of the list leaves no row selected.
    if (!itemAt(e->position().toPoint()))
        clearSelection();
    emit mousePressed(e);
}

void TagOptionList::keyPressEvent(QKeyEvent* e)
{
    bool handled = false;
    emit keyPressed(e, &handled);
    if (!handled)
        QTableWidget::keyPressEvent(e);
}

TFmTO::TFmTO(EditorPort& editor, std::vector<QAction*> launchers, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint), m_editor(editor),
      m_launchers(std::move(launchers))
{
    setObjectName(QStringLiteral("FmTO"));
    setWindowTitle(QStringLiteral("ﾀｸﾞｵﾌﾟｼｮﾅｰ(T.O.)"));
    resize(326, 212);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    TagPanel = new QLabel(kNoOptions, this);
    TagPanel->setObjectName(QStringLiteral("TagPanel"));
    TagPanel->setTextFormat(Qt::PlainText); // "<FONT>" is a caption, not markup
    TagPanel->setFixedHeight(30);
    TagPanel->setAlignment(Qt::AlignCenter);
    TagPanel->setFrameShape(QFrame::Panel);
    TagPanel->setFrameShadow(QFrame::Raised);
    QFont bold = TagPanel->font();
    bold.setBold(true);
    TagPanel->setFont(bold);
    layout->addWidget(TagPanel);

    TagList = new TagOptionList(0, 2, this);
    TagList->setObjectName(QStringLiteral("TagList"));
    TagList->setAccessibleName(QStringLiteral("ｵﾌﾟｼｮﾝ"));
    TagList->setHorizontalHeaderLabels({QStringLiteral("ｵﾌﾟｼｮﾝ"), QStringLiteral("説明")});
    TagList->setColumnWidth(0, 100);
    TagList->setColumnWidth(1, 1000);
    TagList->horizontalHeader()->setHighlightSections(false);
    // Left-aligned, or the description's caption sits in the middle of its
    // wide column, out of sight.
    TagList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    TagList->verticalHeader()->hide();
    TagList->verticalHeader()->setDefaultSectionSize(TagList->fontMetrics().height() + 4);
    TagList->setShowGrid(true);
    TagList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TagList->setSelectionBehavior(QAbstractItemView::SelectRows);
    TagList->setSelectionMode(QAbstractItemView::SingleSelection);
    TagList->setWordWrap(false);
    TagList->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(TagList, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    auto* hint = new QLabel(QStringLiteral("ﾀｸﾞﾞ部にｶｰｿﾙを合わせて下さい"), StatusBar1);
    hint->setMinimumWidth(150);
    StatusBar1->addWidget(hint);
    layout->addWidget(StatusBar1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    MoPaste = PopupMenu1->addAction(kNothing);
    MoPaste->setObjectName(QStringLiteral("MoPaste"));
    MoPaste->setEnabled(false);
    MoPaste->setIcon(themedIcon(QStringLiteral("edit-paste"), QStringLiteral("paste")));

    connect(TagList, &QTableWidget::cellDoubleClicked, this, [this](int, int) { TagListDblClick(); });
    connect(TagList, &TagOptionList::keyPressed, this, &TFmTO::TagListKeyDown);
    connect(TagList, &TagOptionList::mousePressed, this, &TFmTO::TagListMouseDown);
    connect(TagList, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1Popup();
        PopupMenu1->popup(TagList->viewport()->mapToGlobal(pos));
    });
    connect(MoPaste, &QAction::triggered, this, &TFmTO::MOPasteClick);
}

QString TFmTO::selectedOption() const
{
    const QList<QTableWidgetItem*> items = TagList->selectedItems();
    for (QTableWidgetItem* item : items)
        if (item->column() == 0)
            return item->text();
    return QString();
}

void TFmTO::setCommandsEnabled(bool on)
{
    for (QAction* a : m_launchers)
        a->setEnabled(on);
}

void TFmTO::MToClick()
{
    if (isVisible()) {
        raise();
        activateWindow();
        TagList->setFocus();
        return;
    }
    setCommandsEnabled(false);
    Refresh(m_editor.CaretTagText());
    if (!m_placed) {
        m_placed = true;
        const QWidget* main = parentWidget();
        const QScreen* screen = main && main->screen() ? main->screen() : QGuiApplication::primaryScreen();
        if (screen) {
            QRect r = frameGeometry();
            r.moveCenter(screen->availableGeometry().center());
            move(r.topLeft());
        }
    }
    show();
    raise();
}

void TFmTO::Refresh(const QString& caretTagText)
{
    if (!m_editor.hasDocument())
        return;
    if (caretTagText == m_shownTagText && !m_rebuildForced)
        return;
    m_shownTagText = caretTagText;
    m_rebuildForced = false;
    ++m_rebuilds;
    TagPanel->setText(kNoOptions);
    TagList->setRowCount(0);
    const TagOptionEntry* entry = FindTagOptions(caretTagText);
    if (!entry)
        return;
    TagPanel->setText(entry->caption());
    TagList->setRowCount(int(entry->rows.size()));
    static const QIcon rowIcon = bundledIcon(QStringLiteral("row"));
    int row = 0;
    for (const TagOptionRow& r : entry->rows) {
        TagList->setItem(row, 0, new QTableWidgetItem(rowIcon, QString::fromLatin1(r.option)));
        TagList->setItem(row, 1, new QTableWidgetItem(QString::fromUtf8(r.description)));
        ++row;
    }
}

void TFmTO::insertOption(const QString& text)
{
    m_editor.InsertAtCaret(text);
    if (m_editor.hasDocument()) {
        if (parentWidget())
            parentWidget()->activateWindow();
        m_editor.focusEditor();
    }
}

void TFmTO::TagListDblClick()
{
    const QString option = selectedOption();
    if (option.isEmpty())
        return;
    insertOption(QLatin1Char(' ') + option + QStringLiteral("=\" \""));
}

void TFmTO::TagListKeyDown(QKeyEvent* event, bool* handled)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return;
    *handled = true;
    TagListDblClick();
}

void TFmTO::TagListMouseDown(QMouseEvent*)
{
    const QString option = selectedOption();
    if (option.isEmpty()) {
        m_pasteText.clear();
        MoPaste->setEnabled(false);
        MoPaste->setText(kNothing);
    } else {
        m_pasteText = QLatin1Char(' ') + option + QStringLiteral("=\"\"");
        MoPaste->setEnabled(true);
        MoPaste->setText(m_pasteText);
    }
}

void TFmTO::PopupMenu1Popup()
{
    if (m_editor.hasDocument())
        m_editor.focusEditor();
}

void TFmTO::MOPasteClick()
{
    // Opening a document enables the item before any row was chosen; its
    // caption "(なし)" is not an option and is never inserted.
    if (!m_pasteText.isEmpty())
        m_editor.InsertAtCaret(m_pasteText);
}

void TFmTO::FormClose()
{
    setCommandsEnabled(true);
    hide();
    TagList->setRowCount(0);
    m_rebuildForced = true;
}

void TFmTO::closeEvent(QCloseEvent* event)
{
    event->ignore();   // the window lives as long as the program
    FormClose();
}
