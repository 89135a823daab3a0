#pragma once
// The product name that captions and message titles start with.
#include <QString>

inline const QString kProduct = QStringLiteral("Quillnest4");
