#include "builders/sound/tfmmoption.h"

#include "builders/entryvalue.h"
#include "builders/sound/soundtag.h"
#include "platform/product.h"
#include "platform/prompts.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFmMoption::TFmMoption(SoundTag& values, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_values(values), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmMoption"));
    setWindowTitle(QStringLiteral("設定"));
    setModal(true);

    auto* group = new QGroupBox(QStringLiteral("ﾙｰﾌﾟ回数(LOOP)"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setAccessibleName(QStringLiteral("ﾙｰﾌﾟ回数(LOOP)"));
    m_loopEdit = new QComboBox(group);
    m_loopEdit->setObjectName(QStringLiteral("LoopEdit"));
    m_loopEdit->setAccessibleName(QStringLiteral("LoopEdit"));
    m_loopEdit->setEditable(true);
    m_loopEdit->setInsertPolicy(QComboBox::NoInsert);
    m_loopEdit->addItems({QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("10"), SoundTag::infiniteEntry()});
    m_loopEdit->setMinimumWidth(100);
    auto* label = new QLabel(QStringLiteral("回数："), group);
    label->setObjectName(QStringLiteral("Label1"));
    label->setAccessibleName(QStringLiteral("回数："));
    label->setBuddy(m_loopEdit);
    auto* gl = new QHBoxLayout(group);
    gl->addWidget(label);
    gl->addWidget(m_loopEdit, 1);

    m_ok = new QPushButton(QStringLiteral("確定"), this);
    m_ok->setObjectName(QStringLiteral("BitBtn1"));
    m_ok->setAccessibleName(QStringLiteral("確定"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancel->setObjectName(QStringLiteral("BitBtn2"));
    m_cancel->setAccessibleName(QStringLiteral("ｷｬﾝｾﾙ"));
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(m_ok);
    row->addWidget(m_cancel);

    auto* top = new QVBoxLayout(this);
    top->addWidget(group);
    top->addLayout(row);
    setFixedSize(sizeHint());

    connect(m_ok, &QPushButton::clicked, this, &TFmMoption::BitBtn1Click);
    connect(m_cancel, &QPushButton::clicked, this, &TFmMoption::BitBtn2Click);
}

void TFmMoption::FormActivate()
{
    m_loopEdit->setCurrentText(m_values.loopEntry());
}

void TFmMoption::BitBtn1Click()
{
    if (const std::optional<QString> refused = m_values.confirmLoop(m_loopEdit->currentText())) {
        m_prompts.message(this, kProduct, entry::notANumber(*refused), Prompts::Icon::Error,
                          Prompts::Buttons::Ok);
        return;
    }
    accept();
}

void TFmMoption::BitBtn2Click()
{
    reject();
}
