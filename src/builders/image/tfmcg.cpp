#include "builders/image/tfmcg.h"

#include "app/icons.h"
#include "builders/image/picturereader.h"
#include "builders/image/tfmoption.h"
#include "builders/image/tfmsize.h"
#include "platform/desktopshell.h"
#include "platform/prompts.h"
#include "platform/textpanel.h"
#include "platform/widgetnames.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kOpenFilter = QStringLiteral("ｻﾎﾟｰﾄﾌｧｲﾙ(*.gif;*.jpg;*bmp)|*.gif;*.jpg;*.bmp");
const QSize kClientSize(461, 129);
const QColor kTeal(0x00, 0x80, 0x80);

// The preview `Image`: the picture drawn to fill the widget's size, scaled
// while painting (no scaled copy is kept, whatever size is asked for), or
// why there is no picture to show.
class PicturePreview final : public QWidget {
public:
    explicit PicturePreview(QWidget* parent) : QWidget(parent) {}
    void setPicture(const QImage& image, const QString& why)
    {
        m_image = image;
        m_why = why;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (m_image.isNull()) {
            if (!m_why.isEmpty())
                p.drawText(rect().adjusted(4, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop, m_why);
            return;
        }
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(rect(), m_image);
    }

private:
    QImage m_image;
    QString m_why;
};

// A display size entry as a widget extent: a whole number of pixels that a
// widget can take.
int extent(const QString& value, int natural)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    return qBound(0, ok ? v : natural, QWIDGETSIZE_MAX);
}

} // namespace

TFmCg::TFmCg(Prompts& prompts, EditorPort& editor, DesktopShell& shell, QWidget* parent)
    : TFmTagBuilder(prompts, editor, parent), m_shell(&shell)
{
    setObjectName(QStringLiteral("FmCg"));
    setWindowTitle(QStringLiteral("ｲﾒｰｼﾞﾋﾞﾙﾀﾞｰ"));

    auto themed = [](const char* theme, const char* own) {
        return themedIcon(QLatin1String(theme), QLatin1String(own));
    };
    auto own = [](const char* name) { return bundledIcon(QLatin1String(name)); };
    auto button = [&](const char* name, const QString& caption, const QIcon& icon) {
        return commandButton(name, caption, icon, 64);
    };
    m_open = button("SpeedButton1", QStringLiteral("開く(&O)"), themed("document-open", "open"));
    m_copy = button("CgCopy", QStringLiteral("ｺﾋﾟｰ(&C)"), themed("edit-copy", "copy"));
    m_paste = button("CGPaste", QStringLiteral("挿入(&P)"), themed("edit-paste", "paste"));
    m_size = button("CgSize", QStringLiteral("ｻｲｽﾞ設定"), own("table"));
    m_op = button("CgOp", QStringLiteral("詳細ﾞ設定"), own("settings"));
    m_view = button("BtnView", QStringLiteral("VIEWER"), own("image"));
    m_paste->setEnabled(false);
    m_size->setEnabled(false);
    m_op->setEnabled(false);
    m_view->setEnabled(false);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(2, 2, 2, 0);
    top->setSpacing(2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(0);
    for (QToolButton* b : {m_open, m_copy, m_paste, m_size, m_op, m_view})
        buttons->addWidget(b);
    buttons->addStretch();
    top->addLayout(buttons);

    auto* tagRow = new QHBoxLayout;
    auto* decoration = named(new QLabel(this), "Image2");
    decoration->setPixmap(own("image").pixmap(16, 16));
    tagRow->addWidget(decoration);
    auto* tagBox = named(new QScrollArea(this), "ScrollBox2", QStringLiteral("ﾀｸﾞ"));
    tagBox->setFrameShape(QFrame::StyledPanel);
    tagBox->setWidgetResizable(true);
    tagBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tagPanel = new TextPanel(QStringLiteral("TagPanel"), nullptr, ImageTag::emptyTag());
    setTagPanel(m_tagPanel);
    m_tagPanel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_tagPanel->setAutoFillBackground(true);
    m_tagPanel->setBackgroundRole(QPalette::ToolTipBase);
    m_tagPanel->setForegroundRole(QPalette::ToolTipText);
    tagBox->setWidget(m_tagPanel);
    // Tall enough for the tag's line and, below it, the scroll bar of a
    // long tag.
    tagBox->setFixedHeight(m_tagPanel->sizeHint().height()
                           + tagBox->horizontalScrollBar()->sizeHint().height() + 2 * tagBox->frameWidth());
    tagRow->addWidget(tagBox, 1);
    top->addLayout(tagRow);

    m_scrollBox1 = named(new QScrollArea(this), "ScrollBox1");
    m_scrollBox1->setWidgetResizable(false);
    m_image = named(new PicturePreview(m_scrollBox1), "Image");
    m_scrollBox1->setWidget(m_image);
    m_scrollBox1->hide();
    top->addWidget(m_scrollBox1, 1);
    top->addStretch(0);

    m_status = named(new QStatusBar(this), "StatusBar1");
    m_status->setSizeGripEnabled(false);
    // A long path is cut in its middle; the whole stays in the tool tip.
    m_statusPanel = new TextPanel(QStringLiteral("StatusPanel0"), m_status);
    m_statusPanel->setElideMode(Qt::ElideMiddle);
    m_status->addWidget(m_statusPanel, 1);
    top->addWidget(m_status);

    setFixedSize(kClientSize);

    connect(m_open, &QToolButton::clicked, this, &TFmCg::SpeedButton1Click);
    connect(m_copy, &QToolButton::clicked, this, &TFmCg::CgCopyClick);
    connect(m_paste, &QToolButton::clicked, this, &TFmCg::CGPasteClick);
    connect(m_size, &QToolButton::clicked, this, &TFmCg::CgSizeClick);
    connect(m_op, &QToolButton::clicked, this, &TFmCg::SpeedButton4Click);
    connect(m_view, &QToolButton::clicked, this, &TFmCg::BtnViewClick);
}

TFmCg::~TFmCg() = default;

QString TFmCg::tagText() const
{
    return m_tagPanel->text();
}

QString TFmCg::statusText() const
{
    return m_statusPanel->text();
}

void TFmCg::setImageFile(const QString& path)
{
    if (path.isEmpty())
        m_tag.clearImageFile();
    m_pendingFile = path;
    m_activation.handOver();
}

// ------------------------------------------------------------------ loading

bool TFmCg::loadPicture(const QString& path)
{
    const QFileInfo file(path);
    const bool same = !m_read.path.isEmpty() && m_read.path == path && file.isFile()
                      && file.size() == m_read.bytes && file.lastModified() == m_read.modified;
    if (!same) {
        const PictureRead read = readPicture(path, previewShown() ? kPreviewPixelCap : 0);
        if (!read.result.ok()) {
            showError(QStringLiteral("%1\n\n%2").arg(QDir::toNativeSeparators(path), read.result.error));
            return false;
        }
        m_read = ReadPicture{path, file.size(), file.lastModified(), read.result.size, previewShown(), read.preview,
                             read.previewError};
    }
    if (previewShown())
        makePreview();
    m_tag.pictureLoaded(path, m_read.size);
    m_tagPanel->setText(m_tag.shortTag());
    m_statusPanel->setText(path);
    updatePreview();
    m_size->setEnabled(true);
    m_op->setEnabled(true);
    m_view->setEnabled(true);
    return true;
}

bool TFmCg::previewShown() const
{
    // Shown by super mode, for the rest of the run.
    return !m_scrollBox1->isHidden();
}

void TFmCg::makePreview()
{
    if (m_read.previewMade || m_read.path.isEmpty())
        return;
    const PictureRead read = readPicture(m_read.path, kPreviewPixelCap);
    m_read.previewMade = true;
    m_read.preview = read.preview;
    m_read.previewError = read.result.ok() ? read.previewError : read.result.error;
}

void TFmCg::updatePreview()
{
    const QSize size = previewSize();
    static_cast<PicturePreview*>(m_image)->setPicture(m_read.preview, m_read.previewError);
    m_image->setFixedSize(size);
}

QSize TFmCg::previewSize() const
{
    const QSize natural = m_tag.naturalSize();
    return QSize(extent(m_tag.size(ImageTag::Width), natural.width()),
                 extent(m_tag.size(ImageTag::Height), natural.height()));
}

void TFmCg::showFullTag()
{
    m_tagPanel->setText(m_tag.fullTag());
}

// ------------------------------------------------------------------ handlers

void TFmCg::SpeedButton1Click()
{
    Prompts::FileRequest req;
    req.filter = kOpenFilter;
    Prompts::FileAnswer a;
    modal([&] { a = m_prompts.openFile(this, req); });
    if (!a.accepted || a.path.isEmpty())
        return;
    m_image->hide();
    loadPicture(a.path);
    m_image->show();
}

void TFmCg::FormActivate()
{
    const QString path = m_pendingFile.isEmpty() ? m_tag.imageFile() : m_pendingFile;
    m_pendingFile.clear();
    if (!path.isEmpty())
        loadPicture(path);
}

void TFmCg::CgSizeClick()
{
    TFmSize dialog(m_tag, m_prompts, this);
    runOptionDialog(dialog, QPoint(140, 50));
    showFullTag();
    updatePreview();
}

void TFmCg::SpeedButton4Click()
{
    TFmOption dialog(m_tag, m_prompts, this);
    runOptionDialog(dialog, QPoint(170, 50));
    showFullTag();
}

void TFmCg::BtnViewClick()
{
    QString error;
    if (!m_shell->open(m_tag.imageFile(), &error))
        showError(error);
}

void TFmCg::MSuperClick()
{
    m_scrollBox1->show();
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kTeal);
    setPalette(pal);
    setAutoFillBackground(true);
    setMinimumSize(kClientSize.width() / 2, kClientSize.height());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    resize(width(), 300);
    m_status->setSizeGripEnabled(true);
    // A picture read before super mode has no preview yet.
    if (!m_read.previewMade && !m_tag.imageFile().isEmpty() && m_read.path == m_tag.imageFile()) {
        makePreview();
        updatePreview();
    }
}

// ------------------------------------------------------------------ events

void TFmCg::closeEvent(QCloseEvent* event)
{
    m_view->setEnabled(false);
    m_size->setEnabled(false);
    m_op->setEnabled(false);
    m_tagPanel->setText(ImageTag::emptyTag());
    // The picture is forgotten: nothing brings it back but opening it again.
    m_tag.clearImageFile();
    m_pendingFile.clear();
    m_read = ReadPicture{};
    m_statusPanel->clear();
    updatePreview();
    event->ignore();
    hide();
    m_activation.hidden();
    emit closed();
}
