#pragma once

#include <QIcon>
#include <QList>
#include <QPair>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The program's own icons: SVG files compiled in as resources (ui/icons/),
// rendered at whatever size and pixel ratio is asked, so they stay crisp on
// HiDPI screens. Names are the file names without ".svg" ("folder", "user-1").
namespace Icons {

// A scalable icon; null for an unknown name. Its disabled mode is drawn grey.
QIcon Get(const QString& name);
// The icon as a pixmap of `size` × `size` logical pixels at `devicePixelRatio`
// (0: the application's); null for an unknown name.
QPixmap Pixmap(const QString& name, int size, qreal devicePixelRatio = 0, QIcon::Mode mode = QIcon::Normal);
// Starts drawing `icons` ((name, size in logical pixels) at the application's
// pixel ratio) on a second thread, so that the first screen finds them drawn;
// an icon asked for while it is still being drawn waits for it.
void Prepare(const QList<QPair<QString, int>>& icons);
// Waits for the drawing and drops what was not asked for.
void ForgetPrepared();
// Every icon name, sorted.
QStringList Names();

} // namespace Icons
