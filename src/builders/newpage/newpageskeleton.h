#pragma once
// The skeleton of a new HTML page, composed from the initial settings.

#include <QColor>
#include <QString>
#include <QStringList>
#include <array>

// The five colour roles, in the order of the "基本配色" radio items.
enum class PageColorRole { Background = 0, Text, Link, VisitedLink, ActiveLink };
inline constexpr int kPageColorRoles = 5;

struct NewPageSettings {
    QString title;          // empty: no TITLE line
    QString baseFontSize = QStringLiteral("5");
    QString music;          // background music file name; empty: no BGSOUND line
    QString picture;        // background picture file name; empty: no BACKGROUND
    QString charset;        // the page's declared charset; empty: none (Shift_JIS)
    // "#RRGGBB" per role: BGCOLOR, TEXT, LINK, VLINK, ALINK.
    std::array<QString, kPageColorRoles> colors = defaultColors();

    static std::array<QString, kPageColorRoles> defaultColors();
};

// "#RRGGBB", upper-case hexadecimal, red first.
QString htmlColorCode(const QColor& c);

// The file name without its folder ('/' and '\' both separate folders).
QString bareFileName(const QString& path);

// The skeleton's lines, without line breaks.
QStringList newPageLines(const NewPageSettings& s);
// The skeleton as it goes onto the clipboard: every line ends with CR LF.
QString composeNewPage(const NewPageSettings& s);
