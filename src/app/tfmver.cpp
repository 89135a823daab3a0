#include "app/tfmver.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text, const char* color, int px)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    QFont f = l->font();
    f.setBold(true);
    f.setPixelSize(px);
    l->setFont(f);
    l->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(color)));
    return l;
}
} // namespace

TFmVer::TFmVer(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FmVer"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(270, 291);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(16, 10, 16, 10);
    v->setSpacing(1);
    v->addWidget(label(this, "LabelMaker", QStringLiteral("Brightfern"), "#FFFFFF", 12));
    v->addWidget(label(this, "LabelProduct", QStringLiteral("Quillnest4"), "#0000FF", 29));
    v->addWidget(label(this, "LabelVersion", QStringLiteral("Quillnest Ver4.0"), "#FFFFFF", 12));
    v->addSpacing(4);
    v->addWidget(label(this, "LabelStaff", QStringLiteral("Staff"), "#FF0000", 12));
    v->addWidget(label(this, "LabelStaffNames",
                       QStringLiteral("Quillnest4 開発チーム\nBrightfern Software"), "#808080", 12));
    v->addWidget(label(this, "LabelMail", QStringLiteral("Mail"), "#FF0000", 12));
    v->addWidget(label(this, "LabelMailAddress", QStringLiteral("quillnest4@brightfern.example"),
                       "#808080", 12));
    v->addWidget(label(this, "LabelHome", QStringLiteral("HomePage"), "#FF0000", 12));
    v->addWidget(label(this, "LabelHomeAddress",
                       QStringLiteral("https://brightfern.example/quillnest4/"), "#FFFF00", 12));
    v->addSpacing(4);
    v->addWidget(label(this, "LabelDate", QStringLiteral("1999.05.06 "), "#0000FF", 12));
    v->addWidget(label(this, "LabelType", QStringLiteral("=Product Type="), "#FFFFFF", 12));
    v->addStretch(1);
}
