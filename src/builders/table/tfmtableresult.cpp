#include "builders/table/tfmtableresult.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

TFmTableResult::TFmTableResult(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FmTableResult"));
    setWindowTitle(QStringLiteral("変換結果"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    resize(336, 316);

    auto* top = new QVBoxLayout(this);
    top->setContentsMargins(0, 0, 0, 0);
    top->setSpacing(0);
    m_speedButton1 = new QToolButton(this);
    m_speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    m_speedButton1->setText(QStringLiteral("全てｺﾋﾟｰして終了"));
    m_speedButton1->setAccessibleName(m_speedButton1->text());
    m_speedButton1->setAutoRaise(true);
    top->addWidget(m_speedButton1, 0, Qt::AlignLeft);

    m_tableMemo = new QPlainTextEdit(this);
    m_tableMemo->setObjectName(QStringLiteral("TableMemo"));
    m_tableMemo->setAccessibleName(windowTitle());
    m_tableMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_tableMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_tableMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette pal = m_tableMemo->palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::Text, pal.color(QPalette::ToolTipText));
    m_tableMemo->setPalette(pal);
    top->addWidget(m_tableMemo, 1);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar1"));
    status->setSizeGripEnabled(false);
    top->addWidget(status);

    connect(m_speedButton1, &QToolButton::clicked, this, &TFmTableResult::SpeedButton1Click);
}

void TFmTableResult::FormActivate(const QString& text)
{
    m_tableMemo->setPlainText(text);
    m_tableMemo->setVisible(true);
}

void TFmTableResult::SpeedButton1Click()
{
    m_tableMemo->setVisible(false);
    // The raw text keeps what the user typed (toPlainText would turn
    // non-breaking spaces into blanks); blocks are separated by U+2029.
    QString text = m_tableMemo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    text.replace(QChar::LineSeparator, QLatin1String("\r\n"));
    QApplication::clipboard()->setText(text);
    accept();
}
