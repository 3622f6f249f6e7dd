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
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <thread>

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

QString keyOf(const QString& name, QSize pixelSize, QIcon::Mode mode)
{
    return QStringLiteral("quorvel-icon:%1:%2x%3:%4")
        .arg(name)
        .arg(pixelSize.width())
        .arg(pixelSize.height())
        .arg(int(mode));
}

// `pixelSize` in device pixels; a null image for an unknown name. Safe on any
// thread: it paints on an image only.
QImage renderImage(const QString& name, QSize pixelSize, QIcon::Mode mode)
{
    if (!QFileInfo::exists(pathOf(name)))
        return QImage();
    QSvgRenderer renderer(pathOf(name));
    if (!renderer.isValid())
        return QImage();
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
    return image;
}

// Icons drawn ahead on a second thread (Icons::Prepare), each taken once.
class TPreparedIcons
{
public:
    ~TPreparedIcons() { Forget(); }

    void Start(QList<QPair<QString, QSize>> requests)
    {
        Forget();
        std::lock_guard lock(mutex);
        for (const auto& [name, pixels] : requests)
            awaited.emplace(keyOf(name, pixels, QIcon::Normal), std::nullopt);
        worker = std::thread([this, requests = std::move(requests)] {
            for (const auto& [name, pixels] : requests) {
                QImage image = renderImage(name, pixels, QIcon::Normal);
                std::lock_guard done(mutex);
                awaited[keyOf(name, pixels, QIcon::Normal)] = std::move(image);
                ready.notify_all();
            }
        });
    }

    // The image drawn ahead for `key`, waiting for it if it is still being
    // drawn; nothing if it was not asked for (or was taken already).
    std::optional<QImage> Take(const QString& key)
    {
        std::unique_lock lock(mutex);
        auto found = awaited.find(key);
        if (found == awaited.end())
            return std::nullopt;
        ready.wait(lock, [&] { return found->second.has_value(); });
        std::optional<QImage> image = std::move(found->second);
        awaited.erase(found);
        return image;
    }

    void Forget()
    {
        if (worker.joinable())
            worker.join();
        std::lock_guard lock(mutex);
        awaited.clear();
    }

private:
    std::mutex mutex;
    std::condition_variable ready;
    std::map<QString, std::optional<QImage>> awaited;
    std::thread worker;
};

TPreparedIcons& preparedIcons()
{
    static TPreparedIcons prepared;
    return prepared;
}

// `pixelSize` in device pixels.
QPixmap render(const QString& name, QSize pixelSize, QIcon::Mode mode)
{
    if (pixelSize.isEmpty())
        return QPixmap();
    const QString key = keyOf(name, pixelSize, mode);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    std::optional<QImage> image = preparedIcons().Take(key);
    if (!image)
        image = renderImage(name, pixelSize, mode);
    if (image->isNull())
        return QPixmap();
    pixmap = QPixmap::fromImage(std::move(*image));
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

void Prepare(const QList<QPair<QString, int>>& icons)
{
    initIconResources();
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QList<QPair<QString, QSize>> requests;
    for (const auto& [name, size] : icons) {
        const int pixels = int(std::lround(size * ratio));
        if (!requests.contains(qMakePair(name, QSize(pixels, pixels))))
            requests.append({name, QSize(pixels, pixels)});
    }
    preparedIcons().Start(std::move(requests));
}

void ForgetPrepared()
{
    preparedIcons().Forget();
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
