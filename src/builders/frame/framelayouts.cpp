#include "builders/frame/framelayouts.h"

namespace {

QString frameLine(QChar name)
{
    return QStringLiteral("<FRAME NAME=\"%1\" SRC=\"%1.htm\" SCROLLING=\"auto\" >").arg(name);
}

const QString kCols = QStringLiteral("<FRAMESET COLS=\"25%,75%\">");
const QString kRows = QStringLiteral("<FRAMESET ROWS=\"25%,75%\">");
const QString kEnd = QStringLiteral("</FRAMESET>");

} // namespace

QStringList frameHeadLines()
{
    return {QStringLiteral("<HTML>"), QString(), QStringLiteral("<HEAD>"),
            QStringLiteral("<TITLE>フレーム表示</TITLE>"), QStringLiteral("</HEAD>"), QString()};
}

QStringList frameLayoutLines(int layout)
{
    const QString a = frameLine(QLatin1Char('A'));
    const QString b = frameLine(QLatin1Char('B'));
    const QString c = frameLine(QLatin1Char('C'));
    switch (layout) {
    case 1: return {QStringLiteral("<!-- 縦２分割フレーム -->"), kCols, a, b, kEnd};
    case 2: return {QStringLiteral("<!-- 横２分割フレーム -->"), kRows, a, b, kEnd};
    case 3:
        return {QStringLiteral("<!-- 横ベース縦２分割フレーム -->"), kRows, a, kCols, b, c, kEnd,
                kEnd};
    case 4:
        return {QStringLiteral("<!-- 縦ベース横２分割フレーム -->"), kCols, a, kRows, b, c, kEnd,
                kEnd};
    default: return {};
    }
}

QStringList frameEndLines()
{
    return {QString(), QStringLiteral("<NOFRAME>フレーム機能をサポートしているブラウザで御覧下さい</NOFRAME>"),
            QString(), QStringLiteral("</HTML>")};
}

QString joinCrLf(const QStringList& lines)
{
    QString out;
    for (const QString& line : lines)
        out += line + QStringLiteral("\r\n");
    return out;
}

QString composeFramePage(int layout)
{
    return joinCrLf(frameHeadLines() + frameLayoutLines(layout) + frameEndLines());
}
