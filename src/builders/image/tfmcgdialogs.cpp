// The image builder's two option dialogs: size (TFmSize) and details
// (TFmOption).

#include "builders/entryvalue.h"
#include "builders/image/imagetag.h"
#include "builders/image/tfmoption.h"
#include "builders/image/tfmsize.h"
#include "platform/product.h"
#include "platform/prompts.h"
#include "platform/widgetnames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QComboBox* entryBox(QWidget* owner, const char* name, const QStringList& choices)
{
    auto* box = named(new QComboBox(owner), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(choices);
    box->setCurrentText(entry::kNothing);
    box->setMinimumWidth(120);
    return box;
}

QLabel* buddy(const QString& caption, QWidget* control, QWidget* owner, const char* name)
{
    auto* l = named(new QLabel(caption, owner), name);
    l->setBuddy(control);
    return l;
}

// The "確定" / "ｷｬﾝｾﾙ" row under a dialog.
QHBoxLayout* buttonRow(QPushButton*& ok, const char* okName, QPushButton*& cancel,
                       const char* cancelName, QWidget* owner)
{
    ok = named(new QPushButton(QStringLiteral("確定"), owner), okName, QStringLiteral("確定"));
    cancel = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), owner), cancelName, QStringLiteral("ｷｬﾝｾﾙ"));
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void refuse(Prompts& prompts, QWidget* owner, const QString& entryText)
{
    prompts.message(owner, kProduct, entry::notANumber(entryText), Prompts::Icon::Error,
                    Prompts::Buttons::Ok);
}

} // namespace

// ------------------------------------------------------------------ TFmSize

TFmSize::TFmSize(ImageTag& values, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_values(values), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmSize"));
    setWindowTitle(QStringLiteral("ｻｲｽﾞ設定"));
    setModal(true);

    auto* change = named(new QGroupBox(QStringLiteral("画像ｻｲｽﾞ変更"), this), "GroupBox1",
                         QStringLiteral("画像ｻｲｽﾞ変更"));
    m_width = entryBox(change, "WidthComb", {entry::kNothing});
    m_height = entryBox(change, "HeightComb", {entry::kNothing});
    auto* cg = new QGridLayout(change);
    cg->addWidget(buddy(QStringLiteral("WIDTH (幅)："), m_width, change, "Label1"), 0, 0);
    cg->addWidget(m_width, 0, 1);
    cg->addWidget(buddy(QStringLiteral("HEIGHT (高さ)："), m_height, change, "Label2"), 1, 0);
    cg->addWidget(m_height, 1, 1);

    auto* natural = named(new QGroupBox(QStringLiteral("元画像ｻｲｽﾞ"), this), "GroupBox2",
                          QStringLiteral("元画像ｻｲｽﾞ"));
    m_label5 = named(new QLabel(natural), "Label5");
    m_label6 = named(new QLabel(natural), "Label6");
    auto* ng = new QGridLayout(natural);
    ng->addWidget(buddy(QStringLiteral("WIDTH (幅)："), m_label5, natural, "Label3"), 0, 0);
    ng->addWidget(m_label5, 0, 1);
    ng->addWidget(buddy(QStringLiteral("HEIGHT (高さ)："), m_label6, natural, "Label4"), 1, 0);
    ng->addWidget(m_label6, 1, 1);

    auto* top = new QVBoxLayout(this);
    top->addWidget(change);
    top->addWidget(natural);
    top->addLayout(buttonRow(m_ok, "BitBtn1", m_cancel, "BitBtn2", this));
    setFixedSize(sizeHint());

    connect(m_ok, &QPushButton::clicked, this, &TFmSize::BitBtn1Click);
    connect(m_cancel, &QPushButton::clicked, this, &TFmSize::BitBtn2Click);
}

void TFmSize::FormActivate()
{
    m_width->setCurrentText(m_values.size(ImageTag::Width));
    m_height->setCurrentText(m_values.size(ImageTag::Height));
    m_label5->setText(m_values.naturalWidthText());
    m_label6->setText(m_values.naturalHeightText());
}

void TFmSize::BitBtn1Click()
{
    if (const std::optional<QString> refused =
            m_values.confirmSize(m_width->currentText(), m_height->currentText())) {
        refuse(m_prompts, this, *refused);
        return;
    }
    accept();
}

void TFmSize::BitBtn2Click()
{
    reject();
}

// ------------------------------------------------------------------ TFmOption

TFmOption::TFmOption(ImageTag& values, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_values(values), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmOption"));
    setWindowTitle(QStringLiteral("詳細設定"));
    setModal(true);

    auto* group = named(new QGroupBox(QStringLiteral("詳細設定"), this), "GroupBox1",
                        QStringLiteral("詳細設定"));
    const QStringList none{entry::kNothing};
    m_edits[ImageTag::Border] = entryBox(group, "BorderEdit", none);
    m_edits[ImageTag::Alt] = entryBox(group, "Altedit", none);
    m_edits[ImageTag::Align] = entryBox(
        group, "AlignEdit",
        {QStringLiteral("top"), QStringLiteral("middle"), QStringLiteral("bottom"), QStringLiteral("texttop"),
         QStringLiteral("absmiddle"), QStringLiteral("baseline"), QStringLiteral("absbottom"), entry::kNothing});
    m_edits[ImageTag::VSpace] = entryBox(group, "VSpaceEdit", none);
    m_edits[ImageTag::HSpace] = entryBox(group, "HSpaceEdit", none);

    struct Row { const char* caption; ImageTag::Detail detail; const char* label; };
    static const Row rows[] = {
        {"枠線 (BORDER)：", ImageTag::Border, "Label1"},
        {"代替文字列(ALT)：", ImageTag::Alt, "Label2"},
        {"ｲﾒｰｼﾞ配置(ALIGN)：", ImageTag::Align, "Label3"},
        {"画像左右ｽﾍﾟｰｽ(VSPACE)：", ImageTag::VSpace, "Label4"},
        {"画像上下ｽﾍﾟｰｽ(HSPACE)：", ImageTag::HSpace, "Label5"},
    };
    auto* grid = new QGridLayout(group);
    int r = 0;
    for (const Row& row : rows) {
        grid->addWidget(buddy(QString::fromUtf8(row.caption), m_edits[row.detail], group, row.label), r, 0);
        grid->addWidget(m_edits[row.detail], r, 1);
        ++r;
    }

    auto* top = new QVBoxLayout(this);
    top->addWidget(group);
    top->addLayout(buttonRow(m_ok, "BitOk", m_cancel, "BtnCancel", this));
    setFixedSize(sizeHint());

    connect(m_ok, &QPushButton::clicked, this, &TFmOption::BitOkClick);
    connect(m_cancel, &QPushButton::clicked, this, &TFmOption::BtnCancelClick);
}

void TFmOption::FormActivate()
{
    for (int d = 0; d < ImageTag::kDetailCount; ++d)
        m_edits[d]->setCurrentText(m_values.detail(ImageTag::Detail(d)));
}

void TFmOption::BitOkClick()
{
    std::array<QString, ImageTag::kDetailCount> entries;
    for (int d = 0; d < ImageTag::kDetailCount; ++d)
        entries[size_t(d)] = m_edits[d]->currentText();
    if (const std::optional<QString> refused = m_values.confirmDetails(entries)) {
        refuse(m_prompts, this, *refused);
        return;
    }
    accept();
}

void TFmOption::BtnCancelClick()
{
    reject();
}
