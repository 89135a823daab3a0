#pragma once
// The text of one document tab and what the editor keeps about it beside
// Qt's blocks: the file's lines over the blocks, the mirror of its text the
// recovery writer hands to its thread, the line breaks it last took, and
// the load that fills it from the event loop.

#include "charset/textfile.h"

#include <QTextDocument>

#include <memory>
#include <vector>

class DocumentLoad;
class LineMap;
class TextMirror;

class EditorDocument final : public QTextDocument {
    Q_OBJECT
public:
    explicit EditorDocument(QObject* parent = nullptr);
    ~EditorDocument() override;

    LineMap& lineMap() { return *m_lineMap; }
    // Made on first use: only a document with changes to keep needs one.
    TextMirror& mirror();

    // The breaks of a mixed-break document as the recovery writer last
    // took them, and the mirror's structure count they were taken at.
    struct TakenBreaks {
        quint64 structure = ~quint64(0);
        sjis::LineBreak lineBreak = sjis::LineBreak::CrLf;
        std::vector<sjis::LineBreak> breaks;
    };
    TakenBreaks& takenBreaks() { return m_takenBreaks; }

    // The load filling it from the event loop, while there is one (the load
    // is a child of the document and clears this when it ends).
    DocumentLoad* load() const { return m_load; }
    void setLoad(DocumentLoad* load) { m_load = load; }

private:
    DocumentLoad* m_load = nullptr;
    std::unique_ptr<LineMap> m_lineMap;
    std::unique_ptr<TextMirror> m_mirror;
    TakenBreaks m_takenBreaks;
};
