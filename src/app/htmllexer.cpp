#include "app/htmllexer.h"

#include <cmath>

namespace {

enum class Mode { Text, Tag, Dq, Sq, Comment, Raw };
enum Flavour { Plain = 0, Script = 1, Style = 2 };

struct Where {
    Mode mode = Mode::Text;
    int flavour = Plain;   // for Tag, Dq, Sq: what follows the tag; for Raw: which body
};

Where whereOf(HtmlState s)
{
    switch (s) {
    case HtmlState::Text: return {Mode::Text, Plain};
    case HtmlState::Tag: return {Mode::Tag, Plain};
    case HtmlState::DoubleQuoted: return {Mode::Dq, Plain};
    case HtmlState::SingleQuoted: return {Mode::Sq, Plain};
    case HtmlState::Comment: return {Mode::Comment, Plain};
    case HtmlState::Script: return {Mode::Raw, Script};
    case HtmlState::Style: return {Mode::Raw, Style};
    case HtmlState::ScriptTag: return {Mode::Tag, Script};
    case HtmlState::StyleTag: return {Mode::Tag, Style};
    case HtmlState::ScriptDq: return {Mode::Dq, Script};
    case HtmlState::ScriptSq: return {Mode::Sq, Script};
    case HtmlState::StyleDq: return {Mode::Dq, Style};
    case HtmlState::StyleSq: return {Mode::Sq, Style};
    }
    return {};
}

HtmlState stateOf(Where w)
{
    switch (w.mode) {
    case Mode::Text: return HtmlState::Text;
    case Mode::Comment: return HtmlState::Comment;
    case Mode::Raw: return w.flavour == Script ? HtmlState::Script : HtmlState::Style;
    case Mode::Tag:
        return w.flavour == Script ? HtmlState::ScriptTag
             : w.flavour == Style  ? HtmlState::StyleTag : HtmlState::Tag;
    case Mode::Dq:
        return w.flavour == Script ? HtmlState::ScriptDq
             : w.flavour == Style  ? HtmlState::StyleDq : HtmlState::DoubleQuoted;
    case Mode::Sq:
        return w.flavour == Script ? HtmlState::ScriptSq
             : w.flavour == Style  ? HtmlState::StyleSq : HtmlState::SingleQuoted;
    }
    return HtmlState::Text;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == QChar(0x3000);
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isAsciiAlnum(QChar c)
{
    return isAsciiLetter(c) || (c.unicode() >= '0' && c.unicode() <= '9');
}

// The length of a character reference starting at line[i] ('&'), 0 if none:
// &name; &#123; &#x1F;
qsizetype referenceLength(QStringView line, qsizetype i)
{
    constexpr qsizetype kLongest = 40;
    const qsizetype n = line.size();
    qsizetype j = i + 1;
    if (j < n && line[j] == u'#') {
        ++j;
        const bool hex = j < n && (line[j] == u'x' || line[j] == u'X');
        if (hex)
            ++j;
        const qsizetype digits = j;
        while (j < n && j - i < kLongest
               && (hex ? (isAsciiAlnum(line[j]) && QStringView(u"0123456789abcdefABCDEF").contains(line[j]))
                       : (line[j].unicode() >= '0' && line[j].unicode() <= '9')))
            ++j;
        if (j == digits)
            return 0;
    } else {
        if (j >= n || !isAsciiLetter(line[j]))
            return 0;
        while (j < n && j - i < kLongest && isAsciiAlnum(line[j]))
            ++j;
    }
    return (j < n && line[j] == u';') ? j + 1 - i : 0;
}

class Scanner {
public:
    Scanner(QStringView line, QList<HtmlSpan>* spans) : s(line), out(spans) {}

    void add(qsizetype from, qsizetype to, HtmlKind kind)
    {
        if (out && to > from)
            out->append(HtmlSpan{int(from), int(to - from), kind});
    }

    Where run(Where w)
    {
        const qsizetype n = s.size();
        qsizetype i = 0;
        bool afterEquals = false;
        while (i < n) {
            switch (w.mode) {
            case Mode::Text: {
                qsizetype j = i;
                while (j < n && s[j] != u'<' && s[j] != u'&')
                    ++j;
                if (j >= n)
                    return w;
                if (s[j] == u'&') {
                    const qsizetype len = referenceLength(s, j);
                    add(j, j + len, HtmlKind::Reference);
                    i = j + qMax<qsizetype>(len, 1);
                    break;
                }
                if (s.sliced(j).startsWith(u"<!--")) {
                    w.mode = Mode::Comment;
                    i = j;
                    commentFrom = j + 4;   // "<!-->" does not close itself
                    break;
                }
                const qsizetype nameFrom = j + 1;
                if (nameFrom >= n || !(isAsciiLetter(s[nameFrom]) || s[nameFrom] == u'/'
                                       || s[nameFrom] == u'!' || s[nameFrom] == u'?')) {
                    i = j + 1;   // a lone '<' is text
                    break;
                }
                qsizetype k = nameFrom + 1;
                while (k < n && !isSpace(s[k]) && s[k] != u'>' && s[k] != u'/' && s[k] != u'<')
                    ++k;
                add(j, k, HtmlKind::Tag);
                const QStringView name = s.sliced(nameFrom, k - nameFrom);
                w.mode = Mode::Tag;
                w.flavour = name.compare(u"script", Qt::CaseInsensitive) == 0 ? Script
                          : name.compare(u"style", Qt::CaseInsensitive) == 0  ? Style : Plain;
                afterEquals = false;
                i = k;
                break;
            }
            case Mode::Tag: {
                const QChar c = s[i];
                if (isSpace(c)) {
                    ++i;
                } else if (c == u'>') {
                    add(i, i + 1, HtmlKind::Tag);
                    ++i;
                    w.mode = w.flavour == Plain ? Mode::Text : Mode::Raw;
                } else if (c == u'/' && !afterEquals) {
                    add(i, i + 1, HtmlKind::Tag);
                    ++i;
                } else if (c == u'"' || c == u'\'') {
                    w.mode = c == u'"' ? Mode::Dq : Mode::Sq;
                    quoteFrom = i;
                    ++i;
                    afterEquals = false;
                } else if (c == u'=') {
                    afterEquals = true;
                    ++i;
                } else {
                    qsizetype k = i + 1;
                    while (k < n && !isSpace(s[k]) && s[k] != u'>' && s[k] != u'=' && s[k] != u'"'
                           && s[k] != u'\'' && (afterEquals || s[k] != u'/'))
                        ++k;
                    add(i, k, afterEquals ? HtmlKind::AttributeValue : HtmlKind::AttributeName);
                    afterEquals = false;
                    i = k;
                }
                break;
            }
            case Mode::Dq:
            case Mode::Sq: {
                const QChar quote = w.mode == Mode::Dq ? QChar(u'"') : QChar(u'\'');
                const qsizetype from = quoteFrom >= 0 ? quoteFrom : i;
                const qsizetype close = s.indexOf(quote, quoteFrom >= 0 ? quoteFrom + 1 : i);
                quoteFrom = -1;
                if (close < 0) {
                    add(from, n, HtmlKind::AttributeValue);
                    return w;
                }
                add(from, close + 1, HtmlKind::AttributeValue);
                w.mode = Mode::Tag;
                i = close + 1;
                break;
            }
            case Mode::Comment: {
                const qsizetype from = commentFrom >= 0 ? commentFrom - 4 : i;
                const qsizetype end = s.indexOf(u"-->", commentFrom >= 0 ? commentFrom : i);
                commentFrom = -1;
                if (end < 0) {
                    add(from, n, HtmlKind::Comment);
                    return w;
                }
                add(from, end + 3, HtmlKind::Comment);
                w.mode = Mode::Text;
                i = end + 3;
                break;
            }
            case Mode::Raw: {
                const qsizetype end = s.indexOf(w.flavour == Script ? QStringView(u"</script")
                                                                    : QStringView(u"</style"),
                                                i, Qt::CaseInsensitive);
                if (end < 0)
                    return w;
                w.mode = Mode::Text;
                w.flavour = Plain;
                i = end;
                break;
            }
            }
        }
        return w;
    }

private:
    QStringView s;
    QList<HtmlSpan>* out;
    qsizetype quoteFrom = -1;     // the opening quote, when it is on this line
    qsizetype commentFrom = -1;   // just after "<!--", when it is on this line
};

double channel(double c)
{
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    const QColor r = c.toRgb();
    return 0.2126 * channel(r.redF()) + 0.7152 * channel(r.greenF()) + 0.0722 * channel(r.blueF());
}

} // namespace

HtmlState scanHtmlLine(QStringView line, HtmlState state, QList<HtmlSpan>* spans)
{
    Scanner scanner(line, spans);
    return stateOf(scanner.run(whereOf(state)));
}

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

HtmlColours htmlColours(const QColor& text, const QColor& base)
{
    // Hues: tags blue, attribute names brown, values purple, comments
    // green, references orange.  Each starts at the lightness of the text
    // colour and moves away from the background until it is as readable as
    // the text itself (4.5:1 is enough).
    static constexpr double kHue[kHtmlKindCount] = {0.62, 0.05, 0.80, 0.36, 0.09};
    static constexpr double kSaturation[kHtmlKindCount] = {0.85, 0.75, 0.65, 0.70, 0.95};
    const double need = qMin(4.5, contrastRatio(text, base));
    const bool darkText = luminance(text) <= luminance(base);
    HtmlColours out;
    for (int k = 0; k < kHtmlKindCount; ++k) {
        double lightness = darkText ? 0.42 : 0.70;
        QColor c = QColor::fromHslF(float(kHue[k]), float(kSaturation[k]), float(lightness));
        while (contrastRatio(c, base) < need && lightness > 0.0 && lightness < 1.0) {
            lightness += darkText ? -0.02 : 0.02;
            c = QColor::fromHslF(float(kHue[k]), float(kSaturation[k]),
                                 float(qBound(0.0, lightness, 1.0)));
        }
        if (contrastRatio(c, base) < need)
            c = text;
        out.kind[k] = c;
    }
    return out;
}
