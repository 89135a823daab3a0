#include "custom/tfmtag.h"

#include "platform/product.h"
#include "platform/prompts.h"
#include "platform/textpanel.h"
#include "platform/widgetnames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kDescriptionPrefix = QStringLiteral("  説明：");

} // namespace

TFmTag::TFmTag(Prompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmTag"));
    setWindowTitle(QStringLiteral("ﾀｸﾞﾒﾆｭｰ設定"));
    setAccessibleName(windowTitle());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(428, 424);
    transfer.fill(kUnregistered);

    TextPanel* description = sunkenPanel(QStringLiteral("Panel2"), this, kDescriptionPrefix);
    description->setElideMode(Qt::ElideRight);
    Panel2 = description;
    Panel2->setMinimumHeight(24);
    QPalette p = Panel2->palette();
    p.setColor(QPalette::Window, p.color(QPalette::ToolTipBase));
    p.setColor(QPalette::WindowText, p.color(QPalette::ToolTipText));
    Panel2->setPalette(p);

    CheckListBox1 = named(new QListWidget(this), QStringLiteral("CheckListBox1"), windowTitle());
    for (int i = 0; i < kTagEntryCount; ++i) {
        auto* item = new QListWidgetItem(tagEntryText(i), CheckListBox1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }

    BtnOK = named(new QPushButton(QStringLiteral("確定"), this), QStringLiteral("BtnOK"),
                  QStringLiteral("確定"));
    BtnCan = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), QStringLiteral("BtnCan"),
                   QStringLiteral("ｷｬﾝｾﾙ"));
    BtnOK->setAutoDefault(false);
    BtnCan->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCan);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(Panel2);
    layout->addWidget(CheckListBox1, 1);
    layout->addLayout(buttons);

    // The first entry is current from the start, so that the list taking
    // the focus selects nothing; the description follows the user's moves
    // and clicks only.
    CheckListBox1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    connect(CheckListBox1, &QListWidget::currentRowChanged, this, &TFmTag::CheckListBox1Click);
    connect(CheckListBox1, &QListWidget::itemClicked, this, &TFmTag::CheckListBox1Click);
    connect(CheckListBox1, &QListWidget::itemChanged, this, &TFmTag::CheckListBox1ClickCheck);
    connect(BtnOK, &QPushButton::clicked, this, &TFmTag::BtnOKClick);
    connect(BtnCan, &QPushButton::clicked, this, &TFmTag::BtnCanClick);
}

void TFmTag::FormActivate()
{
    m_marking = true;
    std::vector<int> stale;   // marks left from a cancelled showing
    for (int i = 0; i < CheckListBox1->count(); ++i) {
        QListWidgetItem* item = CheckListBox1->item(i);
        const bool registered = std::find(transfer.begin(), transfer.end(), item->text()) != transfer.end();
        if (registered)
            item->setCheckState(Qt::Checked);
        else if (item->checkState() == Qt::Checked)
            stale.push_back(i);
    }
    // Together with the registered tags, the old marks must not exceed the
    // ten the menu holds; the newest ones in list order go first.
    int checked = int(checkedRows().size());
    while (checked > kTagSlotCount && !stale.empty()) {
        CheckListBox1->item(stale.back())->setCheckState(Qt::Unchecked);
        stale.pop_back();
        --checked;
    }
    m_marking = false;
}

std::vector<int> TFmTag::checkedRows() const
{
    std::vector<int> rows;
    for (int i = 0; i < CheckListBox1->count(); ++i)
        if (CheckListBox1->item(i)->checkState() == Qt::Checked)
            rows.push_back(i);
    return rows;
}

void TFmTag::CheckListBox1Click()
{
    const int row = CheckListBox1->currentRow();
    if (row >= 0)
        Panel2->setText(kDescriptionPrefix + tagEntryDescription(row));
}

void TFmTag::CheckListBox1ClickCheck(QListWidgetItem* item)
{
    if (m_marking || !item)
        return;
    // The entry whose box was clicked becomes the selected one, with its
    // description.
    CheckListBox1->setCurrentItem(item);
    if (item->checkState() != Qt::Checked)
        return;
    if (int(checkedRows().size()) <= kTagSlotCount)
        return;
    m_prompts.message(this, kProduct, QStringLiteral("10タグ以上の選択はできません"),
                      Prompts::Icon::Warning, Prompts::Buttons::Ok);
    m_marking = true;
    item->setCheckState(Qt::Unchecked);
    m_marking = false;
}

void TFmTag::BtnOKClick()
{
    confirmed = true;
    transfer = slotsFromChecked(checkedRows());
    accept();
}

void TFmTag::BtnCanClick()
{
    reject();
}
