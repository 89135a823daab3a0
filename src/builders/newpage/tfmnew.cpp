#include "builders/newpage/tfmnew.h"

#include "platform/prompts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

void setTextColor(QLabel* label, const QColor& c)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, c);
    label->setPalette(p);
}

void setBackground(QFrame* panel, const QColor& c)
{
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, c);
    panel->setPalette(p);
}

} // namespace

TFmNew::TFmNew(Prompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmNew"));
    setWindowTitle(QStringLiteral("初期設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    resize(345, 329);

    auto* top = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    m_btnOk = new QPushButton(QStringLiteral("設定ﾍﾟｰｼﾞ"), this);
    m_btnOk->setObjectName(QStringLiteral("BtnOk"));
    m_btnWhite = new QPushButton(QStringLiteral("白紙ﾍﾟｰｼﾞ"), this);
    m_btnWhite->setObjectName(QStringLiteral("BtnWhite"));
    m_btnCancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_btnCancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnWhite);
    buttons->addWidget(m_btnCancel);
    buttons->addStretch();
    top->addLayout(buttons);

    auto* tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("PageControl1"));
    top->addWidget(tabs);

    // ---- 基本設定
    auto* basic = new QWidget;
    auto* basicLayout = new QVBoxLayout(basic);
    auto* bgm = new QGroupBox(QStringLiteral("ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞBGM"), basic);
    auto* bgmLayout = new QHBoxLayout(bgm);
    m_editb = new QLineEdit(bgm);
    m_editb->setObjectName(QStringLiteral("Editb"));
    auto* butMusic = new QPushButton(QStringLiteral("参照(&F)"), bgm);
    butMusic->setObjectName(QStringLiteral("ButMusic"));
    bgmLayout->addWidget(m_editb);
    bgmLayout->addWidget(butMusic);
    basicLayout->addWidget(bgm);

    auto* basicGroup = new QGroupBox(QStringLiteral("基本設定"), basic);
    auto* form = new QFormLayout(basicGroup);
    m_editc = new QLineEdit(basicGroup);
    m_editc->setObjectName(QStringLiteral("Editc"));
    auto* titleLabel = new QLabel(QStringLiteral("ﾀｲﾄﾙ名(&T):"), basicGroup);
    titleLabel->setBuddy(m_editc);
    form->addRow(titleLabel, m_editc);
    m_comboBox1 = new QComboBox(basicGroup);
    m_comboBox1->setObjectName(QStringLiteral("ComboBox1"));
    for (int i = 1; i <= 7; ++i)
        m_comboBox1->addItem(QString::number(i));
    m_comboBox1->setCurrentIndex(4);
    auto* sizeLabel = new QLabel(QStringLiteral("基準ﾌｫﾝﾄｻｲｽﾞ(&P):"), basicGroup);
    sizeLabel->setBuddy(m_comboBox1);
    form->addRow(sizeLabel, m_comboBox1);
    basicLayout->addWidget(basicGroup);
    basicLayout->addStretch();
    tabs->addTab(basic, QStringLiteral("基本設定"));

    // ---- 画像・配色設定
    auto* look = new QWidget;
    auto* lookLayout = new QVBoxLayout(look);
    auto* scheme = new QGroupBox(QStringLiteral("基本配色"), look);
    auto* schemeLayout = new QHBoxLayout(scheme);
    auto* radioBox = new QWidget(scheme);
    radioBox->setObjectName(QStringLiteral("RadioGroup1"));
    auto* radioLayout = new QVBoxLayout(radioBox);
    radioLayout->setContentsMargins(0, 0, 0, 0);
    m_radioGroup1 = new QButtonGroup(this);
    const QString roles[kPageColorRoles] = {
        QStringLiteral("背景色"), QStringLiteral("本文ﾃｷｽﾄ"), QStringLiteral("ﾘﾝｸﾏｰｸ"),
        QStringLiteral("来訪済みﾘﾝｸﾏｰｸ"), QStringLiteral("ｱｸﾃｨﾌﾞﾘﾝｸﾏｰｸ")};
    for (int i = 0; i < kPageColorRoles; ++i) {
        auto* r = new QRadioButton(roles[i], radioBox);
        m_radioGroup1->addButton(r, i);
        radioLayout->addWidget(r);
    }
    m_radioGroup1->button(0)->setChecked(true);
    schemeLayout->addWidget(radioBox);

    auto* right = new QVBoxLayout;
    auto* btnColor = new QPushButton(QStringLiteral("設定(&S)"), scheme);
    btnColor->setObjectName(QStringLiteral("BtnColor"));
    right->addWidget(btnColor);
    m_panel1 = new QFrame(scheme);
    m_panel1->setObjectName(QStringLiteral("Panel1"));
    m_panel1->setFrameShape(QFrame::StyledPanel);
    m_panel1->setAutoFillBackground(true);
    setBackground(m_panel1, Qt::white);
    auto* sample = new QVBoxLayout(m_panel1);
    const char* labelNames[4] = {"Label1", "Label2", "Label3", "Label6"};
    const QString labelTexts[4] = {QStringLiteral("本文テキスト"), QStringLiteral("リンクマーク"),
                                   QStringLiteral("来訪済みリンクマーク"),
                                   QStringLiteral("アクティブリンクマーク")};
    const QColor labelColors[4] = {palette().color(QPalette::WindowText), QColor(0, 0, 255),
                                   QColor(255, 0, 0), QColor(0, 130, 0)};
    for (int i = 0; i < 4; ++i) {
        m_labels[i] = new QLabel(labelTexts[i], m_panel1);
        m_labels[i]->setObjectName(QLatin1String(labelNames[i]));
        setTextColor(m_labels[i], labelColors[i]);
        sample->addWidget(m_labels[i]);
    }
    right->addWidget(m_panel1);
    schemeLayout->addLayout(right);
    lookLayout->addWidget(scheme);

    auto* picture = new QGroupBox(QStringLiteral("ﾊﾞｯｸｸﾞﾗｳﾝﾄﾞ画像"), look);
    auto* pictureLayout = new QHBoxLayout(picture);
    m_edita = new QLineEdit(picture);
    m_edita->setObjectName(QStringLiteral("Edita"));
    auto* btnImg = new QPushButton(QStringLiteral("参照(&F)"), picture);
    btnImg->setObjectName(QStringLiteral("BtnImg"));
    pictureLayout->addWidget(m_edita);
    pictureLayout->addWidget(btnImg);
    lookLayout->addWidget(picture);
    lookLayout->addStretch();
    tabs->addTab(look, QStringLiteral("画像・配色設定"));

    // Assembles the skeleton; never shown.

    connect(m_btnOk, &QPushButton::clicked, this, &TFmNew::BtnOkClick);
    connect(m_btnWhite, &QPushButton::clicked, this, &TFmNew::BtnWhiteClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &TFmNew::BtnCancelClick);
    connect(butMusic, &QPushButton::clicked, this, &TFmNew::ButMusicClick);
    connect(btnImg, &QPushButton::clicked, this, &TFmNew::BtnImgClick);
    connect(btnColor, &QPushButton::clicked, this, &TFmNew::BtnColorClick);
}

NewPageSettings TFmNew::settings() const
{
    NewPageSettings s;
    s.title = m_editc->text();
    s.baseFontSize = m_comboBox1->currentText();
    s.music = m_editb->text();
    s.picture = m_edita->text();
    s.colors = m_colors;
    s.charset = m_charset;
    return s;
}

int TFmNew::selectedRole() const
{
    return m_radioGroup1->checkedId();
}

void TFmNew::selectRole(int role)
{
    if (QAbstractButton* b = m_radioGroup1->button(role))
        b->setChecked(true);
}

void TFmNew::FormActivate()
{
    m_outcome = Cancelled;
    m_comboBox1->setCurrentIndex(4);   // "5"
    m_edita->clear();
    m_editb->clear();
    m_editc->clear();
}

void TFmNew::ButMusicClick()
{
    Prompts::FileRequest req;
    req.filter = QStringLiteral("MIDIﾌｧｲﾙ(*.mid)|*.mid|WAVEﾌｧｲﾙ(*.wav)|*.wav");
    const Prompts::FileAnswer a = m_prompts.openFile(this, req);
    if (a.accepted)
        m_editb->setText(bareFileName(a.path));
}

void TFmNew::BtnImgClick()
{
    Prompts::FileRequest req;
    req.filter = QStringLiteral("GIFﾌｧｲﾙ(*.gif)|*.gif|JPEGﾌｧｲﾙ(*.jpg)|*.jpg");
    const Prompts::FileAnswer a = m_prompts.openFile(this, req);
    if (a.accepted)
        m_edita->setText(bareFileName(a.path));
}

void TFmNew::BtnColorClick()
{
    const int role = std::max(0, selectedRole());
    const std::optional<QColor> chosen = m_prompts.chooseColor(this, QColor(m_colors[size_t(role)]));
    if (!chosen || !chosen->isValid())
        return;
    const QColor c = chosen->toRgb();
    if (role == int(PageColorRole::Background))
        setBackground(m_panel1, c);
    else
        setTextColor(m_labels[role - 1], c);
    m_colors[size_t(role)] = htmlColorCode(c);
}

void TFmNew::BtnOkClick()
{
    // The clipboard gets the composed text itself (CR LF line ends); the memo
    // only mirrors it, as the editor control would alter some characters.
    const QString text = composeNewPage(settings());
    QApplication::clipboard()->setText(text);
    m_outcome = PageOnClipboard;
    accept();
}

void TFmNew::BtnWhiteClick()
{
    m_outcome = BlankPage;
    accept();
}

void TFmNew::BtnCancelClick()
{
    reject();
}
