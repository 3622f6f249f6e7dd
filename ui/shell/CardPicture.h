#pragma once

#include <QImage>
#include <QString>

class QFrame;
class QLabel;
class QObject;
class QWidget;
class TQVL_Card_Pic_Clickareas;

// The picture of a picture card as the screens show it.
namespace CardPicture {

// The picture named by a lesson, turned as its file says (the click areas are
// placed on the picture as it is seen). Null with a German error in `error`
// when the file cannot be read or holds no picture; the name may be anything a
// lesson file says, so only a regular file of a sane size is read.
QImage Read(const QString& fileName, QString& error);

// One of the shadow bars beside a picture: the ink colour at `alpha`, hidden.
QFrame* ShadowShape(QWidget* parent, const char* name, int alpha);

// The framed picture of the query and play screens: a panel ("Panel1") with
// the four shadow bars, the picture ("Image1") and over it a transparent box
// ("PaintBox1") for the click areas, whose events `painter` filters.
struct TFrame
{
    QWidget* Panel = nullptr;
    QFrame* Shape1 = nullptr;
    QFrame* Shape2 = nullptr;
    QFrame* Shape3 = nullptr;
    QFrame* Shape4 = nullptr;
    QLabel* Image = nullptr;
    QWidget* PaintBox = nullptr;
};
TFrame CreateFrame(QWidget* parent, QObject* painter);
// CreateFrame into the picture screen's members of those names; the screen filters the box's events.
template <class TScreen> void CreateFrameIn(TScreen& screen, QWidget* parent)
{
    const TFrame frame = CreateFrame(parent, &screen);
    screen.Panel1 = frame.Panel;
    screen.Shape1 = frame.Shape1;
    screen.Shape2 = frame.Shape2;
    screen.Shape3 = frame.Shape3;
    screen.Shape4 = frame.Shape4;
    screen.Image1 = frame.Image;
    screen.PaintBox1 = frame.PaintBox;
}

// Draws `areas` over `box`, which shows `picture` scaled to its own size; from
// the box's paint event. Nothing without areas or picture.
void DrawClickAreas(QWidget* box, const QImage& picture, const TQVL_Card_Pic_Clickareas* areas);

} // namespace CardPicture
