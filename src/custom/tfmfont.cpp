#include "custom/tfmfont.h"

#include "app/icons.h"
#include "app/namedcolors.h"
#include "app/settings.h"
#include "platform/product.h"
#include "platform/prompts.h"
#include "platform/widgetnames.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The pop-up's captions, in the order of the named colours.
constexpr const char* kColorCaptions[kNamedColorCount] = {
    "Black(&B)", "Maroon(&M)", "Green(&D)", "Olive(&O)", "Navy(&N)",   "Purple(&P)",
    "Teal(&T)",  "Gray(&G)",   "Silver(&S)", "Red(&R)",  "Lime(&L)",   "Yellow(&Y)",
    "Blue(&Z)",  "Fuchsia(&F)", "Aqua(&A)", "White(&W)"};

const int kSizes[] = {8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20};

QLabel* picture(QWidget* owner)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(40, 40, 120));
    QFont f = owner->font();
    f.setPixelSize(26);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("A"));
    p.end();
    auto* l = named(new QLabel(owner), QStringLiteral("Image1"));
    l->setPixmap(pm);
    return l;
}

} // namespace

TFmFont::TFmFont(Prompts& prompts, QWidget* parent) : QDialog(parent), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmFont"));
    setWindowTitle(QStringLiteral("フォント設定"));
    setAccessibleName(windowTitle());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(460, 141);

    auto* panel = named(new QFrame(this), QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);

    FontName = named(new QComboBox(panel), QStringLiteral("FontName"));
    FontName->setEditable(true);
    FontName->setInsertPolicy(QComboBox::NoInsert);
    FontName->setMinimumWidth(150);
    FontName->setToolTip(QStringLiteral("フォントの種類を選択します"));
    QStringList families = QFontDatabase::families(QFontDatabase::Japanese);
    families.sort();
    families.removeDuplicates();
    FontName->addItems(families);

    FontSize = named(new QComboBox(panel), QStringLiteral("FontSize"));
    for (int size : kSizes)
        FontSize->addItem(QString::number(size));

    PFontColor = named(new QPushButton(panel), QStringLiteral("PFontColor"));
    PBkColor = named(new QPushButton(panel), QStringLiteral("PBkColor"));
    for (QPushButton* b : {PFontColor, PBkColor}) {
        b->setFixedSize(30, 25);
        b->setAutoDefault(false);
        b->setFlat(true);
    }

    const char* labels[4][2] = {{"Label1", "ﾌｫﾝﾄ種類："}, {"Label2", "ﾌｫﾝﾄｻｲｽﾞ："},
                                {"Label3", "文字色："}, {"Label4", "背景色："}};
    QWidget* buddies[4] = {FontName, FontSize, PFontColor, PBkColor};
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(8, 6, 8, 6);
    for (int i = 0; i < 4; ++i) {
        const QString caption = QString::fromUtf8(labels[i][1]);
        auto* l = named(new QLabel(caption, panel), QLatin1String(labels[i][0]));
        l->setBuddy(buddies[i]);
        grid->addWidget(l, i / 2, (i % 2) * 2);
        grid->addWidget(buddies[i], i / 2, (i % 2) * 2 + 1, Qt::AlignLeft);
    }
    grid->setColumnStretch(1, 1);

    PopupMenu1 = named(new QMenu(this), QStringLiteral("PopupMenu1"));
    for (int i = 0; i < kNamedColorCount; ++i) {
        QAction* a = PopupMenu1->addAction(colorSwatch(namedColor(i)), QLatin1String(kColorCaptions[i]));
        a->setObjectName(QStringLiteral("M") + QLatin1String(kNamedColors[size_t(i)].name));
        connect(a, &QAction::triggered, this, [this, i] { colorItemClick(i); });
    }

    OK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("OK"), QStringLiteral("OK"));
    Cancel = named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this), QStringLiteral("Cancel"),
                   QStringLiteral("ｷｬﾝｾﾙ"));
    OK->setAutoDefault(false);
    Cancel->setAutoDefault(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(OK);
    buttons->addWidget(Cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(picture(this), 0, Qt::AlignTop);
    layout->addWidget(panel, 1);
    layout->addLayout(buttons);

    connect(PFontColor, &QPushButton::clicked, this, &TFmFont::PFontColorClick);
    connect(PBkColor, &QPushButton::clicked, this, &TFmFont::PBkColorClick);
    connect(OK, &QPushButton::clicked, this, &TFmFont::OKClick);
    connect(Cancel, &QPushButton::clicked, this, &TFmFont::CancelClick);
}

void TFmFont::showSwatch(int which, const QColor& color)
{
    m_colors[which] = color;
    QPushButton* b = which == 0 ? PFontColor : PBkColor;
    b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid black; }")
                         .arg(color.name()));
}

void TFmFont::FormActivate(const EditorLook& look)
{
    m_look = look;
    m_confirmed = false;
    FontName->setEditText(look.font.families().value(0, look.font.family()));
    FontSize->setCurrentIndex(FontSize->findText(QString::number(look.font.pointSize())));
    showSwatch(0, look.color);
    showSwatch(1, look.bkColor);
}

void TFmFont::PFontColorClick()
{
    m_target = 0;
    PopupMenu1->popup(pos() + QPoint(300, 105));
}

void TFmFont::PBkColorClick()
{
    m_target = 1;
    PopupMenu1->popup(pos() + QPoint(395, 105));
}

void TFmFont::colorItemClick(int index)
{
    showSwatch(m_target, namedColor(index));
}

void TFmFont::OKClick()
{
    const QString face = FontName->currentText().trimmed();
    // A name the settings file cannot hold would be gone at the next start.
    if (const QString problem = settingsTextProblem(face); !problem.isEmpty()) {
        m_prompts.message(this, kProduct,
                          QStringLiteral("フォント名 %1 は設定ファイルに保存できません。\n%2").arg(face, problem),
                          Prompts::Icon::Warning, Prompts::Buttons::Ok);
        FontName->setFocus();
        return;
    }
    // An empty face would leave the editors without one of their own.
    if (!face.isEmpty()) {
        QStringList families = m_look.font.families();
        families.removeAll(face);
        families.prepend(face);
        m_look.font.setFamilies(families);
    }
    // A size that is not in the list (from a hand-edited settings file)
    // stays as it is unless the user picks one.
    bool ok = false;
    const int size = FontSize->currentText().toInt(&ok);
    if (FontSize->currentIndex() >= 0 && ok && size > 0)
        m_look.font.setPointSize(size);
    m_look.color = m_colors[0];
    m_look.bkColor = m_colors[1];
    m_confirmed = true;
    accept();
}

void TFmFont::CancelClick()
{
    m_confirmed = false;
    reject();
}
