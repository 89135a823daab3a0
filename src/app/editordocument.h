#pragma once
// The text of one document tab and what the editor keeps about it beside
// Qt's blocks: the file's lines over the blocks, the mirror of its text the
// recovery writer hands to its thread, and the line breaks it last took.

#include "charset/textfile.h"

#include <QTextDocument>

#include <memory>
#include <vector>

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

private:
    std::unique_ptr<LineMap> m_lineMap;
    std::unique_ptr<TextMirror> m_mirror;
    TakenBreaks m_takenBreaks;
};
