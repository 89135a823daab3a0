#pragma once
// The frame-set pages of the frame dialog: a fixed head, one of four
// layouts, and a fixed end.

#include <QString>
#include <QStringList>

inline constexpr int kFrameLayouts = 4;

QStringList frameHeadLines();              // <HTML> ... </HEAD>, empty line
QStringList frameLayoutLines(int layout);  // layout 1..4; empty for any other number
QStringList frameEndLines();               // empty line, NOFRAME, empty line, </HTML>

// The whole page of a layout, every line ending with CR LF.
QString composeFramePage(int layout);

// Joins lines, each followed by CR LF.
QString joinCrLf(const QStringList& lines);
