#include "builders/newpage/newpageskeleton.h"

std::array<QString, kPageColorRoles> NewPageSettings::defaultColors()
{
    return {QStringLiteral("#FFFFFF"), QStringLiteral("#000000"), QStringLiteral("#0000FF"),
            QStringLiteral("#FF0000"), QStringLiteral("#008200")};
}

QString htmlColorCode(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return QStringLiteral("#%1%2%3")
        .arg(rgb.red(), 2, 16, QLatin1Char('0'))
        .arg(rgb.green(), 2, 16, QLatin1Char('0'))
        .arg(rgb.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString bareFileName(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')),
                                   path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QStringList newPageLines(const NewPageSettings& s)
{
    const auto& c = s.colors;
    QStringList lines;
    lines << QStringLiteral("<!-- a.htm -->") << QStringLiteral("<HTML>") << QString()
          << QStringLiteral("<HEAD>");
    if (!s.charset.isEmpty())
        lines << QStringLiteral("<META http-equiv=\"Content-Type\" content=\"text/html; charset=")
                + s.charset + QStringLiteral("\">");
    if (!s.title.isEmpty())
        lines << QStringLiteral("<TITLE>") + s.title + QStringLiteral("</TITLE>");
    lines << QStringLiteral("</HEAD>") << QString();

    QString body = QStringLiteral("<BODY  ");
    if (!s.picture.isEmpty())
        body += QStringLiteral("BACKGROUND=\"") + s.picture + QStringLiteral("\"  ");
    body += QStringLiteral("BGCOLOR=\"") + c[0] + QStringLiteral("\"  TEXT=\"") + c[1]
        + QStringLiteral("\"  LINK=\"") + c[2] + QStringLiteral("\"  VLINK=\"") + c[3]
        + QStringLiteral("\"  ALINK=\"") + c[4] + QStringLiteral("\">");
    lines << body;

    lines << QStringLiteral("<!-- 設定 -->")
          << QStringLiteral("<BASEFONT  SIZE=\"") + s.baseFontSize + QStringLiteral("\">");
    if (!s.music.isEmpty())
        lines << QStringLiteral("<BGSOUND  SRC=\"") + s.music
                + QStringLiteral("\" LOOP=\"INFINITE\">");
    lines << QStringLiteral("<!-- 本文 -->") << QStringLiteral("</BODY>") << QString()
          << QStringLiteral("</HTML>");
    return lines;
}

QString composeNewPage(const NewPageSettings& s)
{
    QString out;
    for (const QString& line : newPageLines(s))
        out += line + QStringLiteral("\r\n");
    return out;
}
