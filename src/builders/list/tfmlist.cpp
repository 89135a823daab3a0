#include "builders/list/tfmlist.h"

#include "app/icons.h"
#include "app/editorport.h"
#include "builders/entryvalue.h"
#include "platform/widgetnames.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// Keeps the item field on one line whatever arrives in it: pasted, dropped
// or set text with line breaks would make an item that writes a bare line.
class OneLineValidator final : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override
    {
        joinLines(input, &pos);
        return Acceptable;
    }
};

QLabel* buddyLabel(const QString& caption, QWidget* buddy, QWidget* owner)
{
    auto* l = new QLabel(caption, owner);
    l->setBuddy(buddy);
    return l;
}

} // namespace

TFmList::TFmList(Prompts& prompts, EditorPort& editor, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_prompts(prompts), m_editor(editor)
{
    setObjectName(QStringLiteral("FmList"));
    setWindowTitle(QStringLiteral("ﾘｽﾄﾋﾞﾙﾀﾞｰ"));
    resize(316, 356);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(6, 6, 6, 0);

    m_comboBox1 = named(new QComboBox(this), QStringLiteral("ComboBox1"));
    m_comboBox1->addItems({QStringLiteral("普通のリスト(<UL></UL>)"), QStringLiteral("番号付きリスト(<OL></OL>)"),
                           QStringLiteral("定義型リスト(<DL></DL>)")});
    m_comboBox2 = named(new QComboBox(this), QStringLiteral("ComboBox2"));
    m_comboBox2->addItems({QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("I"),
                           QStringLiteral("i")});
    m_comboBox3 = named(new QComboBox(this), QStringLiteral("ComboBox3"));
    for (int i = 1; i <= 9; ++i)
        m_comboBox3->addItem(QString::number(i));

    auto* choices = new QGridLayout;
    choices->addWidget(buddyLabel(QStringLiteral("ﾘｽﾄ種類(&L)"), m_comboBox1, this), 0, 0);
    choices->addWidget(m_comboBox1, 0, 1, 1, 3);
    choices->addWidget(buddyLabel(QStringLiteral("番号種類(&N)"), m_comboBox2, this), 1, 0);
    choices->addWidget(m_comboBox2, 1, 1);
    choices->addWidget(buddyLabel(QStringLiteral("開始番号(&H)"), m_comboBox3, this), 1, 2);
    choices->addWidget(m_comboBox3, 1, 3);
    top->addLayout(choices);

    m_listEdit1 = named(new QLineEdit(this), QStringLiteral("ListEdit1"));
    m_listEdit1->setValidator(new OneLineValidator(m_listEdit1));
    m_button1 = named(new QPushButton(QStringLiteral("追加(&A)"), this), QStringLiteral("Button1"),
                      QStringLiteral("追加(&A)"));
    top->addWidget(buddyLabel(QStringLiteral("ﾘｽﾄ項目(&S)"), m_listEdit1, this));
    auto* entry = new QHBoxLayout;
    entry->addWidget(m_listEdit1, 1);
    entry->addWidget(m_button1);
    top->addLayout(entry);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    named(splitter, QStringLiteral("Splitter1"));
    splitter->setChildrenCollapsible(false);
    m_listBox = named(new QListWidget(splitter), QStringLiteral("ListBox"), QStringLiteral("ﾘｽﾄ項目"));
    m_listBox->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listBox->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* buttonPanel = new QWidget(splitter);
    auto* buttons = new QVBoxLayout(buttonPanel);
    buttons->setContentsMargins(4, 0, 0, 0);
    m_listPaste = named(new QPushButton(QStringLiteral("挿入"), buttonPanel), QStringLiteral("ListPaste"),
                        QStringLiteral("挿入"));
    m_listPaste->setEnabled(false);
    m_button3 = named(new QPushButton(QStringLiteral("削除(&C)"), buttonPanel), QStringLiteral("Button3"),
                      QStringLiteral("削除(&C)"));
    m_button4 = named(new QPushButton(QStringLiteral("全削除(&D)"), buttonPanel), QStringLiteral("Button4"),
                      QStringLiteral("全削除(&D)"));
    buttons->addWidget(m_listPaste);
    buttons->addWidget(m_button3);
    buttons->addWidget(m_button4);
    buttons->addStretch();
    splitter->addWidget(m_listBox);
    splitter->addWidget(buttonPanel);
    splitter->setStretchFactor(0, 1);
    top->addWidget(splitter, 1);

    auto* status = named(new QStatusBar(this), QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    top->addWidget(status);

    m_popupMenu1 = new QMenu(this);
    m_popupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    m_mPopList = m_popupMenu1->addAction(entry::kNothing);
    m_mPopList->setObjectName(QStringLiteral("MPopList"));
    m_mPopList->setEnabled(false);
    m_mPopList->setIcon(bundledIcon(QStringLiteral("list")));

    setTabOrder(m_listEdit1, m_button1);
    m_listEdit1->installEventFilter(this);
    m_button1->installEventFilter(this);

    connect(m_comboBox1, &QComboBox::currentIndexChanged, this, &TFmList::ComboBox1Change);
    connect(m_button1, &QPushButton::clicked, this, &TFmList::Button1Click);
    connect(m_button3, &QPushButton::clicked, this, &TFmList::Button3Click);
    connect(m_button4, &QPushButton::clicked, this, &TFmList::Button4Click);
    connect(m_listPaste, &QPushButton::clicked, this, &TFmList::ListPasteClick);
    connect(m_mPopList, &QAction::triggered, this, &TFmList::MPopListClick);
    connect(m_listBox, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1Popup();
        m_popupMenu1->popup(m_listBox->viewport()->mapToGlobal(pos));
    });

    // FormCreate: first item of each choice; numbering only for the numbered list.
    m_comboBox1->setCurrentIndex(0);
    m_comboBox2->setCurrentIndex(0);
    m_comboBox3->setCurrentIndex(0);
    ComboBox1Change();
}

ListKind TFmList::kind() const
{
    return ListKind(qBound(0, m_comboBox1->currentIndex(), 2));
}

QStringList TFmList::items() const
{
    QStringList out;
    out.reserve(m_listBox->count());
    for (int i = 0; i < m_listBox->count(); ++i)
        out << m_listBox->item(i)->text();
    return out;
}

QString TFmList::listText() const
{
    return listHtml(kind(), m_comboBox2->currentText(), m_comboBox3->currentText(), items());
}

void TFmList::ComboBox1Change()
{
    const bool numbered = kind() == ListKind::Numbered;
    m_comboBox2->setEnabled(numbered);
    m_comboBox3->setEnabled(numbered);
}

void TFmList::Button1Click()
{
    const QString text = m_listEdit1->text();
    if (text.isEmpty())
        return;
    m_listBox->addItem(text);
    m_listEdit1->clear();
}

void TFmList::Button3Click()
{
    const QList<QListWidgetItem*> selected = m_listBox->selectedItems();
    if (selected.isEmpty())
        return;
    delete m_listBox->takeItem(m_listBox->row(selected.first()));
    // The list would pass the selection on to a neighbour, for the next
    // click to delete as well.
    m_listBox->setCurrentItem(nullptr);
    m_listBox->clearSelection();
}

void TFmList::Button4Click()
{
    m_listBox->clear();
}

void TFmList::ListPasteClick()
{
    m_editor.InsertAtCaret(listText());
}

void TFmList::PopupMenu1Popup()
{
    if (m_editor.hasDocument())
        m_editor.focusEditor();
    const QList<QListWidgetItem*> selected = m_listBox->selectedItems();
    QString item;
    if (!selected.isEmpty())
        item = selected.first()->text();
    m_popListCaption = listItemTag(kind(), selected.isEmpty() ? nullptr : &item);
    // The menu shows the text as it is: '&' is no mnemonic, a tab no
    // shortcut column.
    QString shown = m_popListCaption;
    shown.replace(QLatin1Char('&'), QLatin1String("&&")).replace(QLatin1Char('\t'), QLatin1Char(' '));
    m_mPopList->setText(shown);
}

void TFmList::MPopListClick()
{
    m_editor.InsertAtCaret(m_popListCaption);
}

void TFmList::closeEvent(QCloseEvent* event)
{
    // Accepting only hides the window: it is never deleted on close.
    QWidget::closeEvent(event);
    emit closed();
}

bool TFmList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_listEdit1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && mods == Qt::ShiftModifier)
            Button1Click();
    } else if (watched == m_button1 && event->type() == QEvent::FocusIn) {
        // Tabbing or clicking onto the button adds the typed item; getting
        // the focus back with the window or from a popup does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            Button1Click();
    } else if (watched == m_button1 && event->type() == QEvent::MouseButtonRelease) {
        m_listEdit1->setFocus(Qt::OtherFocusReason);
    }
    return QWidget::eventFilter(watched, event);
}
