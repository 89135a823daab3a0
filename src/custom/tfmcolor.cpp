#include "custom/tfmcolor.h"

#include "app/icons.h"
#include "app/namedcolors.h"
#include "app/editorport.h"
#include "platform/widgetnames.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

void paint(QLabel* panel, const QColor& background, const QColor& text)
{
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, background);
    p.setColor(QPalette::WindowText, text);
    panel->setPalette(p);
}

QLabel* colourPanel(const QString& name, const QString& caption, QWidget* owner)
{
    auto* l = named(new QLabel(caption, owner), name);
    l->setAutoFillBackground(true);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}

} // namespace

TFmColor::TFmColor(EditorPort& editor, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      m_editor(editor)
{
    setObjectName(QStringLiteral("FmColor"));
    setWindowTitle(QStringLiteral("ｶﾗｰﾋﾟｯｶｰ"));
    setAccessibleName(windowTitle());

    auto* bar = named(new QMenuBar(this), QStringLiteral("MainMenu1"));
    auto* menu = named(new QMenu(QStringLiteral("ﾒﾆｭｰ(&M)"), bar), QStringLiteral("N1"),
                       QStringLiteral("ﾒﾆｭｰ(&M)"));
    bar->addMenu(menu);
    V91 = menu->addAction(QStringLiteral("ｺﾋﾟｰ(&C)"));
    V91->setObjectName(QStringLiteral("V91"));
    V91->setIcon(themedIcon(QStringLiteral("edit-copy"), QStringLiteral("copy")));
    Help1 = menu->addAction(QStringLiteral("文章に挿入(&A)"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Help1->setIcon(themedIcon(QStringLiteral("edit-paste"), QStringLiteral("paste")));
    Exit1 = menu->addAction(QStringLiteral("終了(&E)"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    Exit1->setIcon(themedIcon(QStringLiteral("window-close"), QStringLiteral("exit")));

    // One row per component: label, bar with its swatch below, position.
    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(4);
    rows->setVerticalSpacing(1);
    const struct {
        const char* label;
        const char* bar;
        const char* swatch;
        const char* edit;
        QColor tint;
    } kRows[3] = {{"Panel1", "ScrollBar1", "Panel7", "Edit1a", QColor(255, 0, 0)},
                  {"Panel2", "ScrollBar2", "Panel8", "Edit2a", QColor(0, 128, 0)},
                  {"Panel3", "ScrollBar3", "Panel9", "Edit3a", QColor(0, 0, 255)}};
    const QString letters[3] = {QStringLiteral("R"), QStringLiteral("G"), QStringLiteral("B")};
    QLabel* labels[3];
    for (int i = 0; i < 3; ++i) {
        QLabel* label = labels[i] = colourPanel(QLatin1String(kRows[i].label), letters[i], this);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        label->setFixedSize(24, 34);
        paint(label, kRows[i].tint, Qt::white);

        auto* sb = m_bars[i] = named(new QScrollBar(Qt::Horizontal, this), QLatin1String(kRows[i].bar));
        sb->setRange(0, 255);
        sb->setValue(0);
        sb->setPageStep(16);
        sb->setFocusPolicy(Qt::StrongFocus);
        QLabel* swatch = m_swatches[i] = colourPanel(QLatin1String(kRows[i].swatch), QString(), this);
        swatch->setFixedHeight(14);
        paint(swatch, Qt::black, Qt::white);
        auto* edit = m_edits[i] = named(new QLineEdit(QStringLiteral("0"), this), QLatin1String(kRows[i].edit));
        edit->setEnabled(false);
        edit->setFixedWidth(40);
        edit->setAlignment(Qt::AlignRight);

        // Screen readers name the bar, the swatch and the position by the
        // component's letter.
        label->setBuddy(sb);
        swatch->setAccessibleName(QStringLiteral("%1 0").arg(letters[i]));
        edit->setAccessibleName(letters[i]);

        rows->addWidget(label, i * 2, 0, 2, 1);
        rows->addWidget(sb, i * 2, 1);
        rows->addWidget(swatch, i * 2 + 1, 1);
        rows->addWidget(edit, i * 2, 2, 2, 1);
        connect(sb, &QScrollBar::valueChanged, this, [this, i](int v) { ScrollBarChange(i, v); });
    }
    Panel1 = labels[0];
    Panel2 = labels[1];
    Panel3 = labels[2];
    ScrollBar1 = m_bars[0];
    ScrollBar2 = m_bars[1];
    ScrollBar3 = m_bars[2];
    Panel7 = m_swatches[0];
    Panel8 = m_swatches[1];
    Panel9 = m_swatches[2];
    Edit1a = m_edits[0];
    Edit2a = m_edits[1];
    Edit3a = m_edits[2];

    Panel10 = colourPanel(QStringLiteral("Panel10"), QStringLiteral("Sample"), this);
    QFont sampleFont = Panel10->font();
    sampleFont.setPixelSize(21);
    sampleFont.setBold(true);
    Panel10->setFont(sampleFont);

    RadioGroup1 = named(new QGroupBox(this), QStringLiteral("RadioGroup1"));
    RadioText = named(new QRadioButton(QStringLiteral("文字色"), RadioGroup1),
                      QStringLiteral("RadioGroup1Text"), QStringLiteral("文字色"));
    RadioBack = named(new QRadioButton(QStringLiteral("背景色"), RadioGroup1),
                      QStringLiteral("RadioGroup1Back"), QStringLiteral("背景色"));
    RadioBack->setChecked(true);
    auto* radios = new QVBoxLayout(RadioGroup1);
    radios->setContentsMargins(6, 2, 6, 2);
    radios->addWidget(RadioText);
    radios->addWidget(RadioBack);
    connect(RadioText, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioGroup1Click();
    });
    connect(RadioBack, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            RadioGroup1Click();
    });

    auto* codeBox = named(new QGroupBox(QStringLiteral("ColorCode"), this), QStringLiteral("GroupBox1"),
                          QStringLiteral("ColorCode"));
    Panel11 = colourPanel(QStringLiteral("Panel11"), QString(), codeBox);
    QFont codeFont = Panel11->font();
    codeFont.setBold(true);
    Panel11->setFont(codeFont);
    Panel11->setTextInteractionFlags(Qt::TextSelectableByMouse);
    paint(Panel11, Qt::white, Qt::black);
    auto* codeLayout = new QVBoxLayout(codeBox);
    codeLayout->setContentsMargins(6, 2, 6, 4);
    codeLayout->addWidget(Panel11);

    Button1 = named(new QPushButton(QStringLiteral("コピー(&C)"), this), QStringLiteral("Button1"),
                    QStringLiteral("コピー(&C)"));
    BtnColor = named(new QPushButton(QStringLiteral("挿入(&A)"), this), QStringLiteral("BtnColor"),
                     QStringLiteral("挿入(&A)"));
    BtnColor->setEnabled(false);
    for (QPushButton* b : {Button1, BtnColor})
        b->setAutoDefault(false);

    auto* side = new QVBoxLayout;
    side->addWidget(RadioGroup1);
    side->addWidget(Button1);
    side->addWidget(BtnColor);
    side->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Panel10, 1);
    bottom->addWidget(codeBox, 1);
    auto* upper = new QHBoxLayout;
    upper->addLayout(rows, 1);
    upper->addLayout(side);
    auto* top = new QVBoxLayout(this);
    top->setMenuBar(bar);
    top->setContentsMargins(6, 4, 6, 6);
    top->addLayout(upper);
    top->addLayout(bottom, 1);

    connect(Button1, &QPushButton::clicked, this, &TFmColor::Button1Click);
    connect(V91, &QAction::triggered, this, &TFmColor::Button1Click);
    connect(BtnColor, &QPushButton::clicked, this, &TFmColor::BtnColorClick);
    connect(Help1, &QAction::triggered, this, &TFmColor::BtnColorClick);
    connect(Exit1, &QAction::triggered, this, &QWidget::close);

    Panel11->setText(code());
    showSample();
    setFixedSize(318, 229 + bar->sizeHint().height());
}

QString TFmColor::code() const
{
    return colorCode(m_components[0], m_components[1], m_components[2]);
}

void TFmColor::ScrollBarChange(int component, int position)
{
    m_edits[component]->setText(QString::number(position));
    m_components[component] = position;
    QColor pure(0, 0, 0);
    if (component == 0)
        pure.setRed(position);
    else if (component == 1)
        pure.setGreen(position);
    else
        pure.setBlue(position);
    paint(m_swatches[component], pure, Qt::white);
    m_swatches[component]->setAccessibleName(QStringLiteral("%1 %2").arg(QLatin1Char("RGB"[component])).arg(position));
    m_stored[m_mode] = QColor(m_components[0], m_components[1], m_components[2]);
    showSample();
    Panel11->setText(code());
}

void TFmColor::showSample()
{
    paint(Panel10, m_stored[BackgroundColor], m_stored[TextColor]);
}

void TFmColor::RadioGroup1Click()
{
    m_mode = RadioText->isChecked() ? TextColor : BackgroundColor;
    // The bars move one by one, each rewriting the stored colour of the new
    // mode; the copy brings it back to where it was.
    const QColor copy = m_stored[m_mode];
    const int target[3] = {copy.red(), copy.green(), copy.blue()};
    for (int i = 0; i < 3; ++i) {
        m_bars[i]->setValue(target[i]);
        m_edits[i]->setText(QString::number(target[i]));
    }
}

void TFmColor::Button1Click()
{
    QGuiApplication::clipboard()->setText(code());
}

void TFmColor::BtnColorClick()
{
    // Without a document the code only goes to the clipboard.
    m_editor.InsertAtCaret(code());
}
