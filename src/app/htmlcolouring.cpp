#include "app/htmlcolouring.h"

#include "app/document.h"
#include "app/icons.h"
#include "app/linemap.h"
#include "app/settings.h"
#include "app/tfmmain.h"

#include <QAction>
#include <QMenu>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

// Marks the format ranges the colouring owns; others on a line (the input
// method's) are left in place.
constexpr int kColouringProperty = QTextFormat::UserProperty + 0x4843;
constexpr qsizetype kLongestColouredLine = 10000;
// Each change of colour costs the layout of the block a run of text shaped
// on its own (0.03 ms, 0.05 ms with Japanese text), on every key: a block
// past this many is coloured from its start up to it.
constexpr qsizetype kMostColouredRanges = 192;

// The next block continues this one's line (a long line held in pieces).
bool continuedBelow(const QTextBlock& b)
{
    const QTextBlock next = b.next();
    return next.isValid() && lines::continues(next);
}

// The text after a piece on its line, as much as a cut token needs to
// learn its colour; *lineEnds says the line ends after it.
QString followingText(const QTextBlock& b, bool* lineEnds)
{
    QString text;
    QTextBlock next = b.next();
    while (next.isValid() && lines::continues(next) && text.size() < kHtmlLookahead) {
        text += next.text().left(kHtmlLookahead - text.size());
        next = next.next();
    }
    *lineEnds = !(next.isValid() && lines::continues(next));
    return text;
}

} // namespace

EditorColouring::EditorColouring(DocumentEditor& edit, bool on)
    : QObject(&edit), m_edit(edit), m_on(on)
{
    QTextDocument* doc = edit.document();
    m_blockCount = doc->blockCount();
    connect(doc, &QTextDocument::contentsChange, this, &EditorColouring::contentsChanged);
    edit.setBeforePaint([this] { colourShown(); });
    edit.setColouring(this);
}

void EditorColouring::setOn(bool on)
{
    if (m_on == on)
        return;
    m_on = on;
    m_coloured.clear();
    m_edit.viewport()->update();
}

void EditorColouring::contentsChanged(int position, int /*removed*/, int added)
{
    const QTextDocument* doc = m_edit.document();
    const int count = doc->blockCount();
    const int delta = count - m_blockCount;
    m_blockCount = count;
    QTextBlock first = doc->findBlock(position);
    // The piece before a change at the start of a piece takes the colour of
    // a token cut at its end from this one, and the line's end from its
    // pieces.
    if (first.isValid() && first.previous().isValid())
        first = first.previous();
    const QTextBlock last = doc->findBlock(position + added);
    const int from = first.isValid() ? first.blockNumber() : count - 1;
    const int to = last.isValid() ? last.blockNumber() : count - 1;

    if (m_resumeLimit >= 0 && from <= m_resumeLimit)
        m_resumeLimit = -1;   // an earlier change is still open: no shortcut
    if (m_trusted > from) {
        const int limit = m_trusted + delta;
        m_trusted = from;
        if (limit > to + 1) {
            m_resumeAfter = to;
            m_resumeLimit = qMin(limit, count);
        } else {
            m_resumeLimit = -1;
        }
    }
    m_trusted = qMin(m_trusted, count);

    // The lines just typed on are coloured now, while the editor lays them
    // out anyway; waiting for the paint would lay them out twice and
    // repaint the whole text area.  Far-off or large changes wait for the
    // paint, which colours only what is shown.
    constexpr int kNearLines = 2000;
    constexpr int kChangedLines = 64;
    if (!m_on || to - from >= kChangedLines || from > m_trusted + kNearLines)
        return;
    refreshFormats();
    trustUpTo(to + 1);
    HtmlState state = stateBefore(first);
    for (QTextBlock b = first; b.isValid() && b.blockNumber() <= to; b = b.next())
        colourBlock(b, &state);
}

void EditorColouring::trustUpTo(int lines)
{
    const QTextDocument* doc = m_edit.document();
    lines = qMin(lines, doc->blockCount());
    while (m_trusted < lines) {
        QTextBlock b = doc->findBlockByNumber(m_trusted);
        HtmlState s = m_trusted == 0 ? HtmlState() : HtmlState::fromInt(b.previous().userState());
        bool jumped = false;
        for (; b.isValid() && m_trusted < lines; b = b.next()) {
            const int n = m_trusted;
            const int before = b.userState();
            s = scanHtmlPiece(b.text(), s, {}, !continuedBelow(b));
            b.setUserState(s.toInt());
            ++m_trusted;
            if (m_resumeLimit < 0 || n <= m_resumeAfter)
                continue;
            if (n + 1 >= m_resumeLimit) {
                m_resumeLimit = -1;
            } else if (before == s.toInt()) {
                // Every later line starts as it did before the change.
                m_trusted = m_resumeLimit;
                m_resumeLimit = -1;
                jumped = true;
                break;
            }
        }
        if (!jumped)
            break;
    }
}

HtmlState EditorColouring::stateBefore(const QTextBlock& block)
{
    const int n = block.blockNumber();
    if (n <= 0)
        return HtmlState();
    trustUpTo(n);
    return HtmlState::fromInt(block.previous().userState());
}

void EditorColouring::refreshFormats()
{
    const QPalette p = m_edit.palette();
    const QColor text = p.color(QPalette::Active, QPalette::Text);
    const QColor base = p.color(QPalette::Active, QPalette::Base);
    if (text == m_text && base == m_base && m_format[0].isValid())
        return;
    m_text = text;
    m_base = base;
    m_coloured.clear();
    const HtmlColours colours = htmlColours(text, base);
    for (int k = 0; k < kHtmlKindCount; ++k) {
        QTextCharFormat f;
        f.setForeground(colours.kind[k]);
        f.setProperty(kColouringProperty, true);
        m_format[k] = f;
    }
}

EditorColouring::Coloured EditorColouring::colouredAs(const QTextBlock& b, HtmlState start) const
{
    const QTextLayout* layout = b.layout();
    const QTextBlock next = b.next();
    const int nextRevision = next.isValid() && lines::continues(next) ? next.revision() : -1;
    return {b.revision(), b.length(), start, layout ? layout->formats().size() : -1, nextRevision};
}

bool EditorColouring::colourBlock(const QTextBlock& b, HtmlState* state)
{
    const HtmlState start = *state;
    QTextLayout* layout = b.layout();
    QList<HtmlSpan> spans;
    QString text;
    if (m_on) {
        // A very long block is read for the state it ends in but left plain
        // (long lines of files are held in pieces; this is text put in
        // whole).
        text = b.text();
        bool lineEnds = true;
        QString following;
        if (continuedBelow(b)) {
            following = followingText(b, &lineEnds);
            lineEnds = lineEnds && !following.isEmpty();   // (the state the next piece starts in)
        }
        *state = scanHtmlPiece(text, *state, following, lineEnds,
                               text.size() <= kLongestColouredLine ? &spans : nullptr);
    }
    // A line holding input-method text keeps what it shows until the text
    // is committed.
    if (!layout || !layout->preeditAreaText().isEmpty())
        return false;
    const QList<QTextLayout::FormatRange> current = layout->formats();
    QList<QTextLayout::FormatRange> wanted;
    for (const QTextLayout::FormatRange& r : current)
        if (!r.format.hasProperty(kColouringProperty))
            wanted.append(r);
    const qsizetype own = wanted.size();
    for (const HtmlSpan& s : spans) {
        // Pieces of one kind touching or with only blanks between them
        // ("</TD><TD>", "NOWRAP CHECKED") make one range: each range is
        // shaped on its own, and blanks show no colour.
        if (wanted.size() > own) {
            QTextLayout::FormatRange& last = wanted.last();
            if (last.format == m_format[int(s.kind)]) {
                qsizetype at = last.start + last.length;
                while (at < s.start && (text[at] == u' ' || text[at] == u'\t'))
                    ++at;
                if (at == s.start) {
                    last.length = s.start + s.length - last.start;
                    continue;
                }
            }
        }
        if (wanted.size() - own >= kMostColouredRanges)
            break;
        QTextLayout::FormatRange r;
        r.start = s.start;
        r.length = s.length;
        r.format = m_format[int(s.kind)];
        wanted.append(r);
    }
    if (m_coloured.size() > 4096)
        m_coloured.clear();
    if (wanted == current) {
        m_coloured.insert(b.fragmentIndex(), colouredAs(b, start));
        return false;
    }
    layout->setFormats(wanted);
    m_coloured.insert(b.fragmentIndex(), colouredAs(b, start));
    return true;
}

void EditorColouring::colourShown()
{
    const QList<QTextBlock> shown = m_edit.shownBlocks();
    if (shown.isEmpty())
        return;
    if (m_on) {
        refreshFormats();
        trustUpTo(shown.last().blockNumber() + 1);
    }
    QTextDocument* doc = m_edit.document();
    HtmlState state = m_on ? stateBefore(shown.first()) : HtmlState();
    for (const QTextBlock& b : shown) {
        // A line coloured since its last change, from the same state, is
        // passed over (it ends in the state its block holds).
        if (m_on) {
            const auto it = m_coloured.constFind(b.fragmentIndex());
            if (it != m_coloured.constEnd() && *it == colouredAs(b, state)) {
                state = HtmlState::fromInt(b.userState());
                continue;
            }
        }
        if (colourBlock(b, &state))
            doc->markContentsDirty(b.position(), b.length());   // laid out again, in colour
    }
}

// ------------------------------------------------------------------ unit

HtmlColouringUnit::HtmlColouringUnit(TFmMain& main) : m(main)
{
    m_action = new QAction(itemIcon(QStringLiteral("MColoring")), QStringLiteral("色分け表示"), &main);
    m_action->setObjectName(QStringLiteral("MColoring"));
    m_action->setCheckable(true);
    m_action->setChecked(true);
    if (QMenu* show = main.menu("Show1")) {
        show->addSeparator();
        show->addAction(m_action);
    }
    connect(m_action, &QAction::toggled, this, [this](bool on) { setOn(on); });
    connect(&main.events(), &EditorEvents::currentDocumentChanged, this, &HtmlColouringUnit::attach);
    attach();
}

bool HtmlColouringUnit::isOn() const
{
    return m_action->isChecked();
}

void HtmlColouringUnit::setOn(bool on)
{
    if (m_action->isChecked() != on)
        m_action->setChecked(on);   // comes back here through toggled
    for (int n = 1; n <= m.DocumentCount(); ++n)
        if (DocumentEditor* e = m.EditByNumber(n))
            if (EditorColouring* c = e->colouring())
                c->setOn(on);
}

void HtmlColouringUnit::attach()
{
    for (int n = 1; n <= m.DocumentCount(); ++n)
        if (DocumentEditor* e = m.EditByNumber(n))
            if (!e->colouring())
                new EditorColouring(*e, isOn());
}

void HtmlColouringUnit::load(const Settings& s)
{
    m_action->setChecked(s.coloring != 0);
}

void HtmlColouringUnit::store(Settings& s) const
{
    s.coloring = isOn() ? 1 : 0;
}
