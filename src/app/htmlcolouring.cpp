#include "app/htmlcolouring.h"

#include "app/document.h"
#include "app/icons.h"
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
constexpr qsizetype kMostColouredPieces = 64;

} // namespace

EditorColouring::EditorColouring(DocumentEditor& edit, bool on)
    : QObject(&edit), m_edit(edit), m_on(on)
{
    QTextDocument* doc = edit.document();
    m_blockCount = doc->blockCount();
    connect(doc, &QTextDocument::contentsChange, this, &EditorColouring::contentsChanged);
    edit.setBeforePaint([this] { colourShown(); });
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
    const QTextBlock first = doc->findBlock(position);
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
        HtmlState s = m_trusted == 0 ? HtmlState::Text
                                     : HtmlState(b.previous().userState());
        bool jumped = false;
        for (; b.isValid() && m_trusted < lines; b = b.next()) {
            const int n = m_trusted;
            const int before = b.userState();
            s = scanHtmlLine(b.text(), s);
            b.setUserState(int(s));
            ++m_trusted;
            if (m_resumeLimit < 0 || n <= m_resumeAfter)
                continue;
            if (n + 1 >= m_resumeLimit) {
                m_resumeLimit = -1;
            } else if (before == int(s)) {
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
        return HtmlState::Text;
    trustUpTo(n);
    const int s = block.previous().userState();
    return s >= 0 && s < kHtmlStateCount ? HtmlState(s) : HtmlState::Text;
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
    return {b.revision(), b.length(), start, layout ? layout->formats().size() : -1};
}

bool EditorColouring::colourBlock(const QTextBlock& b, HtmlState* state)
{
    const HtmlState start = *state;
    QTextLayout* layout = b.layout();
    QList<HtmlSpan> spans;
    if (m_on) {
        // A very long or very dense line (a minified page) is read for the
        // state it ends in but left plain: the editor lays a line out whole
        // on every change, and each change of colour costs it a piece of
        // text shaped on its own (about 0.1 ms a piece with Japanese text).
        const QString text = b.text();
        *state = scanHtmlLine(text, *state, text.size() <= kLongestColouredLine ? &spans : nullptr);
        // (A block may hold two short lines of a big file.)
        if (spans.size() > kMostColouredPieces * (1 + text.count(QChar(0x2028))))
            spans.clear();
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
        // Touching pieces of one kind ("</TD><TD>") make one range: each
        // range is shaped on its own.
        if (wanted.size() > own) {
            QTextLayout::FormatRange& last = wanted.last();
            if (last.start + last.length == s.start && last.format == m_format[int(s.kind)]) {
                last.length += s.length;
                continue;
            }
        }
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
    HtmlState state = m_on ? stateBefore(shown.first()) : HtmlState::Text;
    for (const QTextBlock& b : shown) {
        // A line coloured since its last change, from the same state, is
        // passed over (it ends in the state its block holds).
        if (m_on) {
            const auto it = m_coloured.constFind(b.fragmentIndex());
            if (it != m_coloured.constEnd() && *it == colouredAs(b, state)) {
                state = HtmlState(b.userState());
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
            if (auto* c = e->findChild<EditorColouring*>(QString(), Qt::FindDirectChildrenOnly))
                c->setOn(on);
}

void HtmlColouringUnit::attach()
{
    for (int n = 1; n <= m.DocumentCount(); ++n)
        if (DocumentEditor* e = m.EditByNumber(n))
            if (!e->findChild<EditorColouring*>(QString(), Qt::FindDirectChildrenOnly))
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
