#pragma once

#include <QImage>
#include <QString>

class QFrame;
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

// Draws `areas` over `box`, which shows `picture` scaled to its own size; from
// the box's paint event. Nothing without areas or picture.
void DrawClickAreas(QWidget* box, const QImage& picture, const TQVL_Card_Pic_Clickareas* areas);

} // namespace CardPicture
