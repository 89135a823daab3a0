#include "builders/table/tfmcell.h"

#include "platform/prompts.h"
#include "platform/product.h"
#include "builders/table/tablegrid.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFmCell::TFmCell(SelectedCell& cell, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_cell(cell), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmCell"));
    setWindowTitle(QStringLiteral("ｾﾙ設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);

    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_widthEdit = new QLineEdit(this);
    m_widthEdit->setObjectName(QStringLiteral("WidthEdit"));
    m_heightEdit = new QLineEdit(this);
    m_heightEdit->setObjectName(QStringLiteral("HeightEdit"));
    form->addRow(QStringLiteral("WIDTH："), m_widthEdit);
    form->addRow(QStringLiteral("HEIGHT："), m_heightEdit);
    top->addLayout(form);
    m_btnOk = new QPushButton(QStringLiteral("確定"), this);
    m_btnOk->setObjectName(QStringLiteral("BtnOk"));
    m_btnOk->setAccessibleName(m_btnOk->text());
    m_btnOk->setDefault(true);
    top->addWidget(m_btnOk, 0, Qt::AlignRight);
    connect(m_btnOk, &QPushButton::clicked, this, &TFmCell::BtnOkClick);
    setFixedSize(sizeHint());
}

void TFmCell::FormActivate()
{
    m_widthEdit->setText(m_cell.widthText);
    m_heightEdit->setText(m_cell.heightText);
    m_widthEdit->setFocus();
}

void TFmCell::BtnOkClick()
{
    if (const std::optional<QString> refused = m_cell.confirm(m_widthEdit->text(), m_heightEdit->text())) {
        m_prompts.message(this, kProduct, *refused,
                          Prompts::Icon::Error, Prompts::Buttons::Ok);
        return;
    }
    accept();
}
