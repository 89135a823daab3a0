#pragma once
// The pieces of an HTML line that the editor shows in their own colours, and
// the colours themselves.  A line is read with the state the line before it
// ended in (a tag or comment may run over several lines), and gives the state
// it ends in.

#include <QColor>
#include <QList>
#include <QStringView>

enum class HtmlState : int {
    Text = 0,        // between tags
    Tag,             // inside a tag, after its name
    DoubleQuoted,    // inside a tag, in a "value"
    SingleQuoted,    // inside a tag, in a 'value'
    Comment,         // inside <!-- -->
    Script,          // the body of <script>, up to </script
    Style,           // the body of <style>, up to </style
    ScriptTag,       // inside a <script ...> tag: Script follows its '>'
    StyleTag,        // inside a <style ...> tag: Style follows its '>'
    ScriptDq, ScriptSq, StyleDq, StyleSq,   // quoted values inside those tags
};
inline constexpr int kHtmlStateCount = 13;

enum class HtmlKind { Tag, AttributeName, AttributeValue, Comment, Reference };
inline constexpr int kHtmlKindCount = 5;

struct HtmlSpan {
    int start = 0;
    int length = 0;
    HtmlKind kind = HtmlKind::Tag;
    friend bool operator==(const HtmlSpan&, const HtmlSpan&) = default;
};

// Reads one line (without its break) starting in `state`; adds the coloured
// pieces to *spans when given, in order, and returns the state at the end.
HtmlState scanHtmlLine(QStringView line, HtmlState state, QList<HtmlSpan>* spans = nullptr);

// A colour for each kind, readable on `base`: each keeps at least the
// contrast the text colour has against `base` (4.5:1 at most is asked).
struct HtmlColours {
    QColor kind[kHtmlKindCount];
    const QColor& of(HtmlKind k) const { return kind[int(k)]; }
};
HtmlColours htmlColours(const QColor& text, const QColor& base);
// WCAG contrast ratio of two colours (1 to 21).
double contrastRatio(const QColor& a, const QColor& b);
