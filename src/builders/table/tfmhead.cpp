#include "builders/table/tfmhead.h"

#include "platform/prompts.h"
#include "platform/product.h"
#include "platform/textpanel.h"
#include "app/icons.h"
#include "app/namedcolors.h"
#include "builders/entryvalue.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// Popup captions and handler names, in the order of the named colours.
struct ColorItem {
    const char* caption;
    const char* name;
};
constexpr ColorItem kColorItems[kNamedColorCount] = {
    {"Black(&B)", "MBlack"},   {"Maroon(&M)", "MMaroon"},   {"Green(&W)", "MGreen"},
    {"Olive(&O)", "MOlive"},   {"Navy(&N)", "MNavy"},       {"Purple(&P)", "MPurple"},
    {"Teal(&T)", "MTeal"},     {"Gray(&G)", "MGray"},       {"Silver(&S)", "MSilver"},
    {"Red(&R)", "MRed"},       {"Lime(&L)", "MLime"},       {"Yellow(&Y)", "MYellow"},
    {"Blue(&Z)", "MBlue"},     {"Fuchsia(&F)", "MFuchsia"}, {"Aqua(&A)", "MAqua"},
    {"White(&W)", "MWhite"},
};
constexpr int kNoColorItem = kNamedColorCount;

QColor rgbColor(std::uint32_t rgb)
{
    return QColor(int((rgb >> 16) & 0xFF), int((rgb >> 8) & 0xFF), int(rgb & 0xFF));
}

// A small drawing of a two-by-two table with the given frame and cell gap,
// for the before/after illustrations.
QLabel* tablePicture(int frame, int gap, QWidget* owner)
{
    QPixmap pm(48, 36);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, frame));
    p.drawRect(QRectF(frame / 2.0, frame / 2.0, 48 - frame, 36 - frame));
    p.setPen(QPen(Qt::gray, 1));
    const int inner = frame + gap;
    const int w = (48 - 2 * inner - gap) / 2, h = (36 - 2 * inner - gap) / 2;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j)
            p.drawRect(inner + i * (w + gap), inner + j * (h + gap), w - 1, h - 1);
    p.end();
    auto* l = new QLabel(owner);
    l->setPixmap(pm);
    return l;
}

QWidget* beforeAfter(int frameBefore, int gapBefore, int frameAfter, int gapAfter, QWidget* owner)
{
    auto* w = new QWidget(owner);
    auto* row = new QHBoxLayout(w);
    row->addStretch();
    row->addWidget(tablePicture(frameBefore, gapBefore, w));
    row->addWidget(new QLabel(QStringLiteral("→"), w));
    row->addWidget(tablePicture(frameAfter, gapAfter, w));
    row->addStretch();
    return w;
}

// A control's name; screen readers read its caption or, without one, its
// label, never this name.
void named(QWidget* w, const QString& name, const QString& caption = {})
{
    w->setObjectName(name);
    if (!caption.isEmpty())
        w->setAccessibleName(caption);
}

} // namespace

TFmHead::TFmHead(TableSettings& settings, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_prompts(prompts)
{
    setObjectName(QStringLiteral("FmHead"));
    setWindowTitle(QStringLiteral("設定"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("PopupMenu1"));
    for (int i = 0; i <= kNoColorItem; ++i) {
        const bool none = i == kNoColorItem;
        auto* a = m_popup->addAction(none ? entry::kNothing : QString::fromLatin1(kColorItems[i].caption));
        a->setObjectName(none ? QStringLiteral("N1") : QString::fromLatin1(kColorItems[i].name));
        a->setIcon(colorSwatch(none ? palette().color(QPalette::Button) : rgbColor(kNamedColors[i].rgb)));
        connect(a, &QAction::triggered, this, [this, i] { colorItemClick(i); });
    }

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    m_tabs = new QTabWidget(this);
    named(m_tabs, QStringLiteral("PageControl1"));
    m_tabs->setUsesScrollButtons(false);
    top->addWidget(m_tabs);
    const QStringList sizes{QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("5"), entry::kNothing};

    // ---- 設定（１）
    auto* page1 = new QWidget;
    auto* l1 = new QVBoxLayout(page1);
    auto* alignGroup = new QGroupBox(QStringLiteral("ﾃｰﾌﾞﾙ位置(ALIGN)"), page1);
    auto* alignForm = new QFormLayout(alignGroup);
    alignForm->addRow(QStringLiteral("位置："),
                      makeCombo(TableSettings::Align, "AlignCombo",
                                {QStringLiteral("left"), QStringLiteral("right"), entry::kNothing}, alignGroup));
    l1->addWidget(alignGroup);
    auto* bgGroup = new QGroupBox(QStringLiteral("背景色(BGCOLOR)"), page1);
    auto* bgForm = new QFormLayout(bgGroup);
    bgForm->addRow(QStringLiteral("種類："),
                   makeColorPanel(m_panel1, "panel1", QStringLiteral("背景色(BGCOLOR)："), bgGroup));
    l1->addWidget(bgGroup);
    auto* sizeGroup = new QGroupBox(QStringLiteral("標準ｻｲｽﾞ(WIDTH/HEIGHT)"), page1);
    auto* sizeForm = new QFormLayout(sizeGroup);
    sizeForm->addRow(QStringLiteral("幅："), makeCombo(TableSettings::Width, "WidthCombo", sizes, sizeGroup));
    sizeForm->addRow(QStringLiteral("高さ："),
                     makeCombo(TableSettings::Height, "HeightCombo", sizes, sizeGroup));
    l1->addWidget(sizeGroup);
    l1->addStretch();
    m_tabs->addTab(page1, QStringLiteral("設定（１）"));

    // ---- 設定（２）
    auto* page2 = new QWidget;
    auto* l2 = new QVBoxLayout(page2);
    auto* borderGroup = new QGroupBox(QStringLiteral("枠設定(BORDER/BGCOLOR)"), page2);
    auto* borderForm = new QFormLayout(borderGroup);
    borderForm->addRow(QStringLiteral("枠線の太さ："),
                       makeCombo(TableSettings::Border, "BorderCombo", sizes, borderGroup));
    borderForm->addRow(QStringLiteral("枠線の色："),
                       makeColorPanel(m_panel2, "Panel2", QStringLiteral("枠線の色(BORDERCOLOR)："), borderGroup));
    l2->addWidget(borderGroup);
    l2->addWidget(beforeAfter(1, 2, 4, 2, page2));
    l2->addStretch();
    m_tabs->addTab(page2, QStringLiteral("設定（２）"));

    // ---- 設定（３）
    auto* page3 = new QWidget;
    auto* l3 = new QVBoxLayout(page3);
    auto* spaceGroup = new QGroupBox(QStringLiteral("内枠設定(CELLSPACING)"), page3);
    auto* spaceForm = new QFormLayout(spaceGroup);
    spaceForm->addRow(QStringLiteral("枠線の太さ："),
                      makeCombo(TableSettings::CellSpacing, "SpaceCombo", sizes, spaceGroup));
    l3->addWidget(spaceGroup);
    auto* padGroup = new QGroupBox(QStringLiteral("ｾﾙ内ﾏｰｼﾞﾝ(CELLPADDING)"), page3);
    auto* padForm = new QFormLayout(padGroup);
    padForm->addRow(QStringLiteral("値："), makeCombo(TableSettings::CellPadding, "PadCombo", sizes, padGroup));
    l3->addWidget(padGroup);
    l3->addWidget(beforeAfter(1, 1, 1, 5, page3));
    l3->addStretch();
    m_tabs->addTab(page3, QStringLiteral("設定（３）"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_bitBtn1 = new QPushButton(QStringLiteral("確定"), this);
    named(m_bitBtn1, QStringLiteral("BitBtn1"), m_bitBtn1->text());
    m_bitBtn2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    named(m_bitBtn2, QStringLiteral("BitBtn2"), m_bitBtn2->text());
    m_bitBtn1->setDefault(true);
    buttons->addWidget(m_bitBtn1);
    buttons->addWidget(m_bitBtn2);
    top->addLayout(buttons);
    connect(m_bitBtn1, &QPushButton::clicked, this, &TFmHead::BitBtn1Click);
    connect(m_bitBtn2, &QPushButton::clicked, this, &TFmHead::BitBtn2Click);
}

QComboBox* TFmHead::makeCombo(int attr, const char* name, const QStringList& items, QWidget* owner)
{
    auto* c = new QComboBox(owner);
    named(c, QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentText(entry::kNothing);
    m_combos[attr] = c;
    return c;
}

QWidget* TFmHead::makeColorPanel(QLabel*& panel, const char* name, const QString& caption, QWidget* owner)
{
    // A command panel: the right mouse button, or the keyboard once Tab has
    // reached it (Space, Enter, the menu key), opens the colour popup.
    TextPanel* p = sunkenPanel(QString::fromLatin1(name), owner, entry::kNothing);
    panel = p;
    p->setCaption(caption);
    p->setCommand(true);
    p->setAlignment(Qt::AlignCenter);
    QPalette pal = p->palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Button));
    p->setPalette(pal);
    p->setMinimumSize(100, 22);
    p->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(p, &QWidget::customContextMenuRequested, this,
            [this, p](const QPoint& pos) { m_popup->popup(p->mapToGlobal(pos)); });
    connect(p, &TextPanel::activated, this,
            [this, p] { m_popup->popup(p->mapToGlobal(QPoint(0, p->height()))); });
    return p;
}

void TFmHead::FormActivate()
{
    for (int i = 0; i < TableSettings::kComboCount; ++i)
        m_combos[i]->setCurrentText(m_settings.values[i]);
}

void TFmHead::colorItemClick(int index)
{
    if (index < 0 || index > kNoColorItem)
        return;
    const bool first = m_tabs->currentIndex() == 0;
    QLabel* panel = first ? m_panel1 : m_panel2;
    const bool none = index == kNoColorItem;
    const QString value = none ? entry::kNothing : QString::fromLatin1(kNamedColors[index].name);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, none ? palette().color(QPalette::Button) : rgbColor(kNamedColors[index].rgb));
    // Keep the caption readable on dark colours.
    pal.setColor(QPalette::WindowText, none || qGray(pal.color(QPalette::Window).rgb()) > 110 ? Qt::black : Qt::white);
    panel->setPalette(pal);
    panel->setText(value);
    m_settings.values[first ? TableSettings::BgColor : TableSettings::BorderColor] = value;
}

void TFmHead::BitBtn1Click()
{
    std::array<QString, TableSettings::kComboCount> entries;
    for (int i = 0; i < TableSettings::kComboCount; ++i)
        entries[i] = m_combos[i]->currentText();
    if (const std::optional<int> refused = m_settings.confirm(entries)) {
        m_prompts.message(this, kProduct, entry::notANumber(entries[*refused]),
                          Prompts::Icon::Error, Prompts::Buttons::Ok);
        QComboBox* c = m_combos[*refused];
        for (int i = 0; i < m_tabs->count(); ++i)
            if (m_tabs->widget(i)->isAncestorOf(c))
                m_tabs->setCurrentIndex(i);
        c->setFocus();
        return;
    }
    accept();
}

void TFmHead::BitBtn2Click()
{
    reject();
}
