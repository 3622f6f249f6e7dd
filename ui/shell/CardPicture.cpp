#include "ui/shell/CardPicture.h"

#include "content/QVL_Card_Pic_Clickareas.h"
#include "core/QVL_Error.h"
#include "core/QVL_NamedFile.h"
#include "ui/shell/Theme.h"

#include <QBuffer>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPainter>

namespace CardPicture {

QImage Read(const QString& fileName, QString& error)
{
    error.clear();
    QByteArray bytes;
    try {
        bytes = TQVL_NamedFile::Read(fileName);
    } catch (const TQVL_Error& failure) {
        error = failure.Message();
        return QImage();
    }
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QImage picture = reader.read();
    if (picture.isNull())
        error = QStringLiteral("Das Bild \"%1\" konnte nicht geladen werden: %2").arg(fileName, reader.errorString());
    return picture;
}

QFrame* ShadowShape(QWidget* parent, const char* name, int alpha)
{
    auto* shape = new QFrame(parent);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setFrameShape(QFrame::NoFrame);
    shape->setAutoFillBackground(true);
    QPalette colours = shape->palette();
    QColor shade = Theme::Ink;
    shade.setAlpha(alpha);
    colours.setColor(QPalette::Window, shade);
    shape->setPalette(colours);
    shape->hide();
    return shape;
}

TFrame CreateFrame(QWidget* parent, QObject* painter)
{
    TFrame frame;
    frame.Panel = new QWidget(parent);
    frame.Panel->setObjectName(QStringLiteral("Panel1"));
    // The outer, lighter shadow first, so that the darker one lies over it.
    frame.Shape3 = ShadowShape(frame.Panel, "Shape3", 40);
    frame.Shape4 = ShadowShape(frame.Panel, "Shape4", 40);
    frame.Shape1 = ShadowShape(frame.Panel, "Shape1", 90);
    frame.Shape2 = ShadowShape(frame.Panel, "Shape2", 90);
    frame.Image = new QLabel(frame.Panel);
    frame.Image->setObjectName(QStringLiteral("Image1"));
    frame.Image->setScaledContents(true);
    frame.PaintBox = new QWidget(frame.Panel);
    frame.PaintBox->setObjectName(QStringLiteral("PaintBox1"));
    frame.PaintBox->setAttribute(Qt::WA_TranslucentBackground);
    frame.PaintBox->installEventFilter(painter);
    return frame;
}

void DrawClickAreas(QWidget* box, const QImage& picture, const TQVL_Card_Pic_Clickareas* areas)
{
    if (!areas || picture.isNull() || box->width() <= 0 || box->height() <= 0)
        return;
    QPainter painter(box);
    areas->Draw(painter, double(picture.width()) / box->width(), double(picture.height()) / box->height());
}

} // namespace CardPicture
