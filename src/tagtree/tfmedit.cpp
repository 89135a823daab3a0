#include "tagtree/tfmedit.h"

#include "platform/prompts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFmEdit::TFmEdit(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FmEdit"));
    setWindowTitle(QStringLiteral("編集"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(272, 80);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    Edit = new QComboBox(panel);
    Edit->setObjectName(QStringLiteral("Edit"));
    Edit->setAccessibleName(QStringLiteral("ﾀｸﾞ"));
    Edit->setEditable(true);
    Edit->setInsertPolicy(QComboBox::NoInsert);
    Edit->setFixedWidth(241);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(4, 4, 4, 4);
    panelLayout->addWidget(Edit);

    BOK = new QPushButton(QStringLiteral("決定"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setAutoDefault(false);
    BitBtn1 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BOK);
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(panel);
    layout->addLayout(buttons);

    connect(BOK, &QPushButton::clicked, this, &TFmEdit::BOKClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TFmEdit::BitBtn1Click);
}

void TFmEdit::FormActivate(const QString& text)
{
    Edit->setEditText(text);
    m_confirmed = false;
    m_result.clear();
}

void TFmEdit::BOKClick()
{
    m_result = Edit->currentText();
    if (!m_result.isEmpty() && Edit->findText(m_result, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0) {
        Edit->insertItem(0, m_result);
        Edit->setEditText(m_result);
    }
    m_confirmed = true;
    accept();
}

void TFmEdit::BitBtn1Click()
{
    m_confirmed = false;
    reject();
}

QStringList TFmEdit::history() const
{
    QStringList out;
    for (int i = 0; i < Edit->count(); ++i)
        out << Edit->itemText(i);
    return out;
}

std::optional<QString> TFmEdit::ask(Prompts& prompts, const QString& text, QPoint topLeft)
{
    move(topLeft);
    FormActivate(text);
    prompts.execDialog(*this);
    // Only BOK confirms; the close box and Escape count as cancelled.
    if (!m_confirmed)
        return std::nullopt;
    return m_result;
}
