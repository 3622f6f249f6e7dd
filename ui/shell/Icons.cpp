#include "ui/shell/Icons.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

// The resources live in a static library: the linker keeps them only when someone asks for them.
static void initIconResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

QString pathOf(const QString& name)
{
    return QStringLiteral(":/icons/") + name + QStringLiteral(".svg");
}

// Grey and a little lighter, as disabled tiles and buttons show their icons.
void makeDisabled(QImage& image)
{
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int grey = 110 + qGray(pixel) * 145 / 255;
            line[x] = qRgba(grey, grey, grey, qAlpha(pixel));
        }
    }
}

// `pixelSize` in device pixels.
QPixmap render(const QString& name, QSize pixelSize, QIcon::Mode mode)
{
    if (pixelSize.isEmpty())
        return QPixmap();
    const QString key = QStringLiteral("quorvel-icon:%1:%2x%3:%4")
                            .arg(name)
                            .arg(pixelSize.width())
                            .arg(pixelSize.height())
                            .arg(int(mode));
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    if (!QFileInfo::exists(pathOf(name)))
        return QPixmap();
    QSvgRenderer renderer(pathOf(name));
    if (!renderer.isValid())
        return QPixmap();
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // Square icons stay square in a rectangle that is not.
        const int side = std::min(pixelSize.width(), pixelSize.height());
        renderer.render(&painter,
                        QRectF((pixelSize.width() - side) / 2.0, (pixelSize.height() - side) / 2.0, side, side));
    }
    if (mode == QIcon::Disabled)
        makeDisabled(image);
    pixmap = QPixmap::fromImage(std::move(image));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

class SvgIconEngine final : public QIconEngine
{
public:
    explicit SvgIconEngine(QString iconName) : name(std::move(iconName)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const QSize pixels(int(std::lround(rect.width() * ratio)), int(std::lround(rect.height() * ratio)));
        QPixmap pixmap = render(name, pixels, mode);
        pixmap.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), pixmap);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override { return render(name, size, mode); }

    QIconEngine* clone() const override { return new SvgIconEngine(name); }
    QString key() const override { return QStringLiteral("QuorvelSvgIcon"); }
    QString iconName() override { return name; }

private:
    QString name;
};

} // namespace

namespace Icons {

QIcon Get(const QString& name)
{
    initIconResources();
    if (!QFileInfo::exists(pathOf(name)))
        return QIcon();
    return QIcon(new SvgIconEngine(name));
}

QPixmap Pixmap(const QString& name, int size, qreal devicePixelRatio, QIcon::Mode mode)
{
    initIconResources();
    if (devicePixelRatio <= 0)
        devicePixelRatio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    const int pixels = int(std::lround(size * devicePixelRatio));
    QPixmap pixmap = render(name, QSize(pixels, pixels), mode);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QStringList Names()
{
    initIconResources();
    QStringList names;
    const QStringList files =
        QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    for (const QString& file : files)
        names.append(QFileInfo(file).completeBaseName());
    return names;
}

} // namespace Icons
