// Renders the program's logo (an SVG) into the PNG sizes of the hicolor icon
// theme: make_icons <logo.svg> <output folder> <size>...
// Writes <output folder>/<size>x<size>/apps/<name>.png with <name> = the SVG's base name.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv)
{
    // Rendering needs no screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: make_icons <logo.svg> <output folder> <size>... [--name <name>]\n");
        return 2;
    }
    QString name = QFileInfo(arguments.at(1)).completeBaseName();
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "make_icons: cannot read %s\n", qPrintable(arguments.at(1)));
        return 1;
    }
    QList<int> sizes;
    for (qsizetype i = 3; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--name") && i + 1 < arguments.size()) {
            name = arguments.at(++i);
            continue;
        }
        sizes << arguments.at(i).toInt();
    }
    for (const int size : sizes) {
        if (size <= 0) {
            std::fprintf(stderr, "make_icons: bad size\n");
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments.at(2)).arg(size);
        const QString file = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
