#pragma once
// The pieces of HTML text that the editor shows in their own colours, and
// the colours themselves.  Text is read as a stream: a line starts in the
// state the line before it ended in (a tag or comment may run over several
// lines), and a long line held in several pieces is read piece by piece, the
// state at a cut carrying whatever token the cut falls in (a tag name,
// "</script", "<!-", a character reference...), so the pieces colour as the
// whole line would.

#include <QColor>
#include <QList>
#include <QStringView>

// Where the reader stands, packed into a non-negative int so that it fits a
// block's user state.
struct HtmlState {
    int bits = 0;
    static HtmlState fromInt(int v) { return HtmlState{v < 0 ? 0 : v}; }
    int toInt() const { return bits; }
    friend bool operator==(HtmlState, HtmlState) = default;
};

// What a state is inside of, for callers that only need the broad picture.
enum class HtmlContext { Text, Tag, Quoted, Comment, Script, Style };
HtmlContext contextOf(HtmlState state);

enum class HtmlKind { Tag, AttributeName, AttributeValue, Comment, Reference };
inline constexpr int kHtmlKindCount = 5;

struct HtmlSpan {
    int start = 0;
    int length = 0;
    HtmlKind kind = HtmlKind::Tag;
    friend bool operator==(const HtmlSpan&, const HtmlSpan&) = default;
};

// Reads one piece of a line starting in `state` and returns the state at its
// end.  `following` is the text after the piece on the same line, as much as
// is at hand (a token cut at the piece's end, such as "<!-" or "&amp", takes
// its colour from what follows; 64 characters are enough); `lineEnds` says
// the line ends after `following`.  When `following` is empty and the line
// ends, the state returned is the one the next line starts in.  Adds the
// coloured pieces inside `piece` to *spans when given, in order.
HtmlState scanHtmlPiece(QStringView piece, HtmlState state, QStringView following, bool lineEnds,
                        QList<HtmlSpan>* spans = nullptr);
inline constexpr qsizetype kHtmlLookahead = 64;
// A whole line (without its break).
inline HtmlState scanHtmlLine(QStringView line, HtmlState state, QList<HtmlSpan>* spans = nullptr)
{
    return scanHtmlPiece(line, state, {}, true, spans);
}

// A colour for each kind, readable on `base`: each keeps at least the
// contrast the text colour has against `base` (4.5:1 at most is asked).
struct HtmlColours {
    QColor kind[kHtmlKindCount];
    const QColor& of(HtmlKind k) const { return kind[int(k)]; }
};
HtmlColours htmlColours(const QColor& text, const QColor& base);
// WCAG contrast ratio of two colours (1 to 21).
double contrastRatio(const QColor& a, const QColor& b);
