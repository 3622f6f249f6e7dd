#pragma once

#include <QByteArray>
#include <QString>

// Small fixture files on disk.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

// Writes `content` with a matching ".crc" companion, as the program leaves a
// guarded file; returns `path`.
QString WriteGuarded(const QString& path, const QByteArray& content);

// `text` without the first <element>...</element> (and the line break after
// it), so that a test can take one value out of an otherwise valid file.
QByteArray WithoutElement(QByteArray text, const char* element);
