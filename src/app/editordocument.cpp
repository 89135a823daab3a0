#include "app/editordocument.h"

#include "app/linemap.h"
#include "app/textmirror.h"

EditorDocument::EditorDocument(QObject* parent)
    : QTextDocument(parent), m_lineMap(LineMap::make(this))
{
}

EditorDocument::~EditorDocument() = default;

TextMirror& EditorDocument::mirror()
{
    if (!m_mirror)
        m_mirror = TextMirror::make(this);
    return *m_mirror;
}
