#pragma once
// HTML colouring of the editors ("色分け表示" in the View menu).  Only what
// the editor shows is coloured, just before it is painted; the state a line
// starts in (inside a tag or a comment opened lines above) is kept per line
// and worked out lazily, from the last line known to be right.

#include "app/htmllexer.h"
#include "app/settingsclient.h"

#include <QHash>
#include <QObject>
#include <QTextCharFormat>

class DocumentEditor;
class QAction;
class QTextBlock;
class TFmMain;

// The colouring of one editor.  Each line's end state is held in its
// block's user state; lines before `trustedLines()` hold the right one.
class EditorColouring : public QObject {
    Q_OBJECT
public:
    EditorColouring(DocumentEditor& edit, bool on);
    void setOn(bool on);
    bool isOn() const { return m_on; }
    // Brings the colours of the lines shown now up to date.
    void colourShown();
    // The state the block starts in.
    HtmlState stateBefore(const QTextBlock& block);
    int trustedLines() const { return m_trusted; }

private:
    void contentsChanged(int position, int removed, int added);
    void trustUpTo(int lines);
    void refreshFormats();
    // Gives the block the colours of its pieces read from *state (which
    // moves on to the block's end); false when it had them already.
    bool colourBlock(const QTextBlock& block, HtmlState* state);

    DocumentEditor& m_edit;
    bool m_on = true;
    int m_trusted = 0;        // lines [0, m_trusted) hold their end state
    // After a change, lines (m_resumeAfter, m_resumeLimit) still hold the
    // states they had: once a line past the change ends in the state it
    // ended in before, every line up to the limit is right again.
    int m_resumeAfter = -1;
    int m_resumeLimit = -1;
    int m_blockCount = 1;
    // The lines as last coloured, by block: what they were coloured from.
    struct Coloured {
        int revision = -1;
        int length = -1;
        HtmlState start;
        qsizetype ranges = -1;
        int nextRevision = -1;   // of the piece after it, whose start may colour its end
        friend bool operator==(const Coloured&, const Coloured&) = default;
    };
    Coloured colouredAs(const QTextBlock& block, HtmlState start) const;
    QHash<int, Coloured> m_coloured;
    QColor m_text, m_base;
    QTextCharFormat m_format[kHtmlKindCount];
};

class HtmlColouringUnit : public QObject, public SettingsClient {
    Q_OBJECT
public:
    explicit HtmlColouringUnit(TFmMain& main);
    // [View] Coloring: 0 off, anything else (or absent) on.
    void load(const Settings& s) override;
    void store(Settings& s) const override;
    bool isOn() const;
    void setOn(bool on);

private:
    void attach();
    TFmMain& m;
    QAction* m_action = nullptr;
};
