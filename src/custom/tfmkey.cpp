#include "custom/tfmkey.h"

#include "app/settings.h"
#include "platform/product.h"
#include "platform/prompts.h"
#include "platform/widgetnames.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

TFmKey::TFmKey(Prompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmKey"));
    setWindowTitle(QStringLiteral("ｷｰｺﾝﾄﾛｰﾙ一覧"));
    setAccessibleName(windowTitle());
    setWindowFlags(Qt::Dialog | Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(304, 400);

    KeyGrid = named(new QTableWidget(kKeySlotCount, 2, this), QStringLiteral("KeyGrid"), windowTitle());
    KeyGrid->horizontalHeader()->hide();
    KeyGrid->verticalHeader()->hide();
    KeyGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    KeyGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    KeyGrid->verticalHeader()->setDefaultSectionSize(20);
    KeyGrid->setColumnWidth(0, 150);
    KeyGrid->setColumnWidth(1, 150);
    KeyGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    KeyGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    KeyGrid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    const QColor fixed = KeyGrid->palette().color(QPalette::Button);
    for (int row = 0; row < kKeySlotCount; ++row) {
        auto* label = new QTableWidgetItem;
        label->setFlags(Qt::ItemIsEnabled);   // the fixed column: not editable
        label->setBackground(fixed);
        KeyGrid->setItem(row, 0, label);
        auto* text = new QTableWidgetItem;
        text->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
        KeyGrid->setItem(row, 1, text);
    }
    KeyGrid->setCurrentCell(0, 1);

    BitBtn1 = named(new QPushButton(QStringLiteral("確定"), this), QStringLiteral("BitBtn1"),
                    QStringLiteral("確定"));
    BitBtn2 = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), QStringLiteral("BitBtn2"),
                    QStringLiteral("ｷｬﾝｾﾙ"));
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 4);
    layout->addWidget(KeyGrid, 1);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, &TFmKey::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFmKey::BitBtn2Click);
}

void TFmKey::setTexts(const QStringList& texts)
{
    for (int row = 0; row < kKeySlotCount; ++row)
        KeyGrid->item(row, 1)->setText(texts.value(row));
}

QStringList TFmKey::texts() const
{
    QStringList out;
    for (int row = 0; row < kKeySlotCount; ++row)
        out << KeyGrid->item(row, 1)->text();
    return out;
}

void TFmKey::FormActivate()
{
    m_confirmed = false;
    for (int row = 0; row < kKeySlotCount; ++row)
        KeyGrid->item(row, 0)->setText(QLatin1String(kKeySlots[size_t(row)].label));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TFmKey::BitBtn1Click()
{
    // A cell still being edited keeps its text: moving the current cell
    // away commits the editor.
    KeyGrid->setCurrentIndex(QModelIndex());
    // A text the settings file cannot hold would be lost at the next start;
    // the row stays open for the user to change it.
    for (int row = 0; row < kKeySlotCount; ++row) {
        const QString problem = settingsTextProblem(KeyGrid->item(row, 1)->text());
        if (problem.isEmpty())
            continue;
        m_prompts.message(this, kProduct,
                          QStringLiteral("%1 の文字列は設定ファイルに保存できません。\n%2")
                              .arg(QLatin1String(kKeySlots[size_t(row)].label), problem),
                          Prompts::Icon::Warning, Prompts::Buttons::Ok);
        KeyGrid->setCurrentCell(row, 1);
        KeyGrid->setFocus();
        return;
    }
    m_confirmed = true;
    accept();
}

void TFmKey::BitBtn2Click()
{
    m_confirmed = false;
    reject();
}
