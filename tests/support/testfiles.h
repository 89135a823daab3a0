#pragma once
// Small helpers for tests that work with real files.
#include <QByteArray>
#include <QString>

QByteArray readAll(const QString& path);
bool writeAll(const QString& path, const QByteArray& bytes);
