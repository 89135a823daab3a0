#include "app/htmllexer.h"

#include <cmath>
#include <optional>

namespace {

enum Mode { MText, MTag, MDq, MSq, MComment, MRaw };
enum Flavour { Plain, Script, Style };
// Inside Text: a token not yet known to be one.
enum TextSub { TNone, TLt, TLtBang, TLtBangDash, TRef };
// Inside a tag.
enum TagSub { GGap, GName, GAttrName, GAttrValue };
// How far a character reference has come.
enum RefKind { RAmp, RNamed, RHash, RHexStart, RDec, RHex };
constexpr int kDead = 7;           // a tag name that is neither script nor style
constexpr int kLongestReference = 40;

struct Fields {
    int mode = MText;
    int flavour = Plain;   // for Tag, Dq, Sq: what follows the tag; for Raw: which body
    int sub = 0;           // TextSub or TagSub
    bool afterEquals = false;
    int refKind = RAmp;
    int refLength = 0;     // characters read after the '&'
    int script = 0;        // how much of "script" (then of "style") the tag name matches
    int style = 0;
    int dashes = 0;        // '-' just read in a comment (two at most)
    int rawMatch = 0;      // how much of "</script" or "</style" was just read
};

// Only what matters where the reader stands is kept, so that equal places
// give equal states.
int pack(const Fields& f)
{
    int v = f.mode;
    switch (f.mode) {
    case MText:
        v |= f.sub << 5;
        if (f.sub == TRef)
            v |= f.refKind << 9 | f.refLength << 12;
        break;
    case MTag:
        v |= f.flavour << 3 | f.sub << 5 | int(f.afterEquals) << 8;
        if (f.sub == GName)
            v |= f.script << 18 | f.style << 21;
        break;
    case MDq:
    case MSq: v |= f.flavour << 3; break;
    case MComment: v |= f.dashes << 24; break;
    case MRaw: v |= f.flavour << 3 | f.rawMatch << 26; break;
    }
    return v;
}

Fields unpack(int v)
{
    Fields f;
    f.mode = v & 7;
    f.flavour = (v >> 3) & 3;
    f.sub = (v >> 5) & 7;
    f.afterEquals = (v >> 8) & 1;
    f.refKind = (v >> 9) & 7;
    f.refLength = (v >> 12) & 63;
    f.script = (v >> 18) & 7;
    f.style = (v >> 21) & 7;
    f.dashes = (v >> 24) & 3;
    f.rawMatch = (v >> 26) & 15;
    if (f.mode > MRaw)
        f = Fields();
    return f;
}

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == QChar(0x3000)
        || c == QChar(QChar::LineSeparator);
}

bool isAsciiLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
}

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return isDigit(c) || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

char16_t asciiLower(QChar c)
{
    const char16_t u = c.unicode();
    return u >= 'A' && u <= 'Z' ? char16_t(u + 32) : u;
}

// Reads characters one at a time.  A token's colour is given when it ends
// (or at the end of the piece, for one still open); `from` is where the
// token being read started, negative when it started in an earlier piece.
class Reader {
public:
    Reader(Fields fields, QList<HtmlSpan>* spans, qsizetype clipEnd)
        : f(fields), out(spans), clip(clipEnd) {}

    Fields f;
    qsizetype from = -1;

    void mute() { out = nullptr; }

    void add(qsizetype a, qsizetype b, HtmlKind kind)
    {
        a = qMax<qsizetype>(a, 0);
        b = qMin(b, clip);
        if (out && b > a)
            out->append(HtmlSpan{int(a), int(b - a), kind});
    }

    // The colour of the token being read is not known yet: it depends on
    // characters still to come.
    bool undecided() const
    {
        return (f.mode == MText && f.sub != TNone) || (f.mode == MRaw && f.rawMatch > 0);
    }

    // The colour of the token being read, when there is one and it is known.
    std::optional<HtmlKind> openKind() const
    {
        switch (f.mode) {
        case MTag:
            if (f.sub == GName)
                return HtmlKind::Tag;
            if (f.sub == GAttrName)
                return HtmlKind::AttributeName;
            if (f.sub == GAttrValue)
                return HtmlKind::AttributeValue;
            return std::nullopt;
        case MDq:
        case MSq: return HtmlKind::AttributeValue;
        case MComment: return HtmlKind::Comment;
        default: return std::nullopt;
        }
    }

    void run(QStringView s)
    {
        const qsizetype n = s.size();
        const QChar* p = s.data();
        qsizetype i = 0;
        while (i < n) {
            // Runs that change nothing are passed over in tight loops.
            if (f.mode == MText && f.sub == TNone) {
                while (i < n && p[i] != u'<' && p[i] != u'&')
                    ++i;
            } else if (f.mode == MDq || f.mode == MSq) {
                const char16_t quote = f.mode == MDq ? u'"' : u'\'';
                while (i < n && p[i] != quote)
                    ++i;
            } else if (f.mode == MRaw && f.rawMatch == 0) {
                while (i < n && p[i] != u'<')
                    ++i;
            } else if (f.mode == MComment && f.dashes == 0) {
                while (i < n && p[i] != u'-')
                    ++i;
            }
            if (i >= n)
                break;
            feed(p[i], i);
            ++i;
        }
    }

    void feed(QChar c, qsizetype i)
    {
        for (;;) {   // each pass either takes c or leaves it to the next
            switch (f.mode) {
            case MText:
                if (text(c, i))
                    return;
                break;
            case MTag:
                if (tag(c, i))
                    return;
                break;
            case MDq:
            case MSq:
                if (c == (f.mode == MDq ? QChar(u'"') : QChar(u'\''))) {
                    add(from, i + 1, HtmlKind::AttributeValue);
                    f.mode = MTag;
                    f.sub = GGap;
                }
                return;
            case MComment:
                if (c == u'-') {
                    f.dashes = qMin(f.dashes + 1, 2);
                } else if (c == u'>' && f.dashes == 2) {
                    add(from, i + 1, HtmlKind::Comment);
                    f.mode = MText;
                    f.sub = TNone;
                } else {
                    f.dashes = 0;
                }
                return;
            case MRaw: {
                const QStringView end = f.flavour == Script ? QStringView(u"</script") : QStringView(u"</style");
                if (asciiLower(c) == end[f.rawMatch]) {
                    if (f.rawMatch == 0)
                        from = i;
                    if (++f.rawMatch == end.size()) {
                        // The closing tag's name goes on being read.
                        f.mode = MTag;
                        f.sub = GName;
                        f.flavour = Plain;
                        f.afterEquals = false;
                        f.script = f.style = kDead;
                    }
                    return;
                }
                if (f.rawMatch == 0)
                    return;
                f.rawMatch = 0;   // c may start the end again
                break;
            }
            }
        }
    }

private:
    // False when c is to be read again in the state left.
    bool text(QChar c, qsizetype i)
    {
        switch (f.sub) {
        case TNone:
            if (c == u'<') {
                f.sub = TLt;
                from = i;
            } else if (c == u'&') {
                f.sub = TRef;
                f.refKind = RAmp;
                f.refLength = 0;
                from = i;
            }
            return true;
        case TLt:
            if (c == u'!') {
                f.sub = TLtBang;
                return true;
            }
            if (isAsciiLetter(c) || c == u'/' || c == u'?') {
                startName();
                nameCharacter(c);
                return true;
            }
            f.sub = TNone;   // a lone '<' is text
            return false;
        case TLtBang:
        case TLtBangDash:
            if (c == u'-' && f.sub == TLtBang) {
                f.sub = TLtBangDash;
                return true;
            }
            if (c == u'-') {
                f.mode = MComment;   // "<!--": "<!-->" does not close itself
                f.dashes = 0;
                return true;
            }
            startName();   // "<!" or "<!-" begins the name
            f.script = f.style = kDead;
            return false;
        case TRef: {
            ++f.refLength;
            bool goesOn = false;
            switch (f.refKind) {
            case RAmp:
                if (c == u'#')
                    f.refKind = RHash;
                else if (isAsciiLetter(c))
                    f.refKind = RNamed;
                else
                    break;
                goesOn = true;
                break;
            case RHash:
                if (c == u'x' || c == u'X')
                    f.refKind = RHexStart;
                else if (isDigit(c))
                    f.refKind = RDec;
                else
                    break;
                goesOn = true;
                break;
            case RHexStart:
                if (isHexDigit(c)) {
                    f.refKind = RHex;
                    goesOn = true;
                }
                break;
            default:
                if (c == u';') {
                    add(from, i + 1, HtmlKind::Reference);
                    f.sub = TNone;
                    return true;
                }
                goesOn = f.refLength < kLongestReference
                      && (f.refKind == RNamed ? isAsciiLetter(c) || isDigit(c)
                          : f.refKind == RDec  ? isDigit(c) : isHexDigit(c));
                break;
            }
            if (goesOn)
                return true;
            f.sub = TNone;   // no reference: c is read as text
            return false;
        }
        }
        return true;
    }

    bool tag(QChar c, qsizetype i)
    {
        switch (f.sub) {
        case GName:
            if (isSpace(c) || c == u'>' || c == u'/' || c == u'<') {
                add(from, i, HtmlKind::Tag);
                f.flavour = f.script == 6 ? Script : f.style == 5 ? Style : Plain;
                f.sub = GGap;
                return false;
            }
            nameCharacter(c);
            return true;
        case GAttrName:
        case GAttrValue: {
            const bool value = f.sub == GAttrValue;
            if (isSpace(c) || c == u'>' || c == u'=' || c == u'"' || c == u'\'' || (!value && c == u'/')) {
                add(from, i, value ? HtmlKind::AttributeValue : HtmlKind::AttributeName);
                f.sub = GGap;
                return false;
            }
            return true;
        }
        default:
            break;
        }
        if (isSpace(c))
            return true;
        if (c == u'>') {
            add(i, i + 1, HtmlKind::Tag);
            f.mode = f.flavour == Plain ? MText : MRaw;
            f.sub = TNone;
            f.rawMatch = 0;
        } else if (c == u'/' && !f.afterEquals) {
            add(i, i + 1, HtmlKind::Tag);
        } else if (c == u'"' || c == u'\'') {
            f.mode = c == u'"' ? MDq : MSq;
            from = i;
            f.afterEquals = false;
        } else if (c == u'=') {
            f.afterEquals = true;
        } else {
            f.sub = f.afterEquals ? GAttrValue : GAttrName;
            f.afterEquals = false;
            from = i;
        }
        return true;
    }

    void startName()
    {
        f.mode = MTag;
        f.sub = GName;
        f.flavour = Plain;
        f.afterEquals = false;
        f.script = f.style = 0;
    }

    void nameCharacter(QChar c)
    {
        static constexpr char16_t kScript[] = u"script";
        static constexpr char16_t kStyle[] = u"style";
        const char16_t l = asciiLower(c);
        f.script = f.script < 6 && l == kScript[f.script] ? f.script + 1 : kDead;
        f.style = f.style < 5 && l == kStyle[f.style] ? f.style + 1 : kDead;
    }

    QList<HtmlSpan>* out;
    qsizetype clip;
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

HtmlContext contextOf(HtmlState state)
{
    const Fields f = unpack(state.bits);
    switch (f.mode) {
    case MTag: return HtmlContext::Tag;
    case MDq:
    case MSq: return HtmlContext::Quoted;
    case MComment: return HtmlContext::Comment;
    case MRaw: return f.flavour == Script ? HtmlContext::Script : HtmlContext::Style;
    default: return HtmlContext::Text;
    }
}

HtmlState scanHtmlPiece(QStringView piece, HtmlState state, QStringView following, bool lineEnds,
                        QList<HtmlSpan>* spans)
{
    const qsizetype n = piece.size();
    Reader r(unpack(state.bits), spans, n);
    r.run(piece);
    if (spans) {
        // A token cut at the end takes its colour from what follows it.
        Reader ahead = r;
        const qsizetype pending = ahead.from;
        qsizetype i = n;
        for (QChar c : following) {
            if (!ahead.undecided() || ahead.from != pending)
                break;
            ahead.feed(c, i++);
        }
        if (ahead.undecided() && ahead.from == pending && lineEnds && i == n + following.size())
            ahead.feed(QChar(u'\n'), i);
        if (ahead.from == pending)
            if (const std::optional<HtmlKind> k = ahead.openKind())
                ahead.add(ahead.from, n, *k);
    }
    if (lineEnds && following.isEmpty()) {
        r.mute();   // (its colours were given above)
        r.feed(QChar(u'\n'), n);
    }   // the line's break ends what a space ends
    return HtmlState{pack(r.f)};
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
