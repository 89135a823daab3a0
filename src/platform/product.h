#pragma once
// The product name that captions and message titles start with.
#include <QString>

inline const QString kProduct = QStringLiteral("Quillnest4");

// MIME type of a drag that starts in the tag tree (dropped on an editor).
inline constexpr const char* kTagTreeMimeType = "application/x-quillnest4-tagtree";
