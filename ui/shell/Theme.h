#pragma once

#include <QColor>
#include <QtGlobal>

// The look of every screen: named colours and font sizes, in one place.
namespace Theme {

// A 24-bit colour value as stored colours give it (options, card colours):
// blue in the high byte, red in the low byte.
inline QColor FromColorValue(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// Main window: the user bar and the window behind the screens.
inline const QColor MainBar = FromColorValue(12886916);
inline const QColor MainWindow = FromColorValue(13480086);

// Message boxes of the message list and the notices.
inline const QColor MessageFill = FromColorValue(12512764);
inline const QColor MessageFrame = FromColorValue(1883634);
inline const QColor MessageText = FromColorValue(2704982);

// Tiles of the tile menus.
inline const QColor TileBackground = FromColorValue(13878678);
inline const QColor TileBorder = FromColorValue(12100180);
inline const QColor TileHoverBackground = FromColorValue(14603697);
inline const QColor TileFocusBackground = FromColorValue(15723482);
inline const QColor TileFocusDots = QColor(0x80, 0x80, 0x80);
inline const QColor TileTextShadow = QColor(0xFB, 0xF8, 0xEE);

// Screen header: a gradient from top to bottom over a darker line.
inline const QColor HeaderTop = QColor(0x5A, 0x7F, 0xAC);
inline const QColor HeaderBottom = QColor(0x84, 0xA3, 0xC4);
inline const QColor HeaderLine = QColor(0x45, 0x66, 0x8E);
inline const QColor HeaderSubCaption = QColor(0xEE, 0xF3, 0xF9);
inline const QColor ScreenBackground = QColor(0xF4, 0xF7, 0xFB);
inline const QColor DialogButtonStrip = QColor(0xE4, 0xEB, 0xF3);

// Lists and texts.
inline const QColor ListText = QColor(0x24, 0x3B, 0x58);
inline const QColor ListHover = QColor(0xDC, 0xE7, 0xF3);
// The dark blue of questions, phase lines and figures.
inline const QColor Ink = QColor(0x28, 0x3E, 0x55);
inline const QColor Warning = QColor(0xB0, 0x30, 0x20);

// The verdict of an answer.
inline const QColor VerdictRight = QColor(0x3C, 0x9D, 0x40);
inline const QColor VerdictHalf = QColor(0xE8, 0x9A, 0x17);
inline const QColor VerdictWrong = QColor(0xD2, 0x3C, 0x2E);

// The texts of grammar cards: the editors' captions, the query's and play's labels.
inline const QColor EditorCaption = QColor(0x3C, 0x5A, 0x7B);

// The year calendar: a day without answers, then the shades of studied days
// from few answers to the most of the year, and the frame of the chosen day.
inline const QColor CalendarEmpty = QColor(0xE4, 0xEB, 0xF3);
inline const QColor CalendarLevels[] = {QColor(0xC6, 0xD6, 0xEA), QColor(0x8F, 0xAE, 0xD3), QColor(0x5A, 0x7F, 0xAC),
                                        QColor(0x2F, 0x4E, 0x75)};
inline const QColor CalendarFocus = QColor(0xE8, 0x9A, 0x17);

// Charts drawn by the screens: the canvas, bars and their outline, axis lines.
inline const QColor ChartCanvas = QColor(0xFF, 0xFF, 0xFF);
inline const QColor ChartBar = QColor(0x84, 0xA3, 0xC4);
inline const QColor ChartBarOutline = QColor(0x45, 0x66, 0x8E);
inline const QColor ChartAxis = QColor(0x9B, 0xB0, 0xC0);

// Font sizes in points.
constexpr int TitlePointSize = 16;
constexpr int UserNamePointSize = 12;
constexpr int QuestionPointSize = 20;
constexpr int PictureQuestionPointSize = 16;
constexpr int AnswerPointSize = 14;
constexpr int VerdictPointSize = 14;
constexpr int ResultAnswerPointSize = 12;
constexpr int ResultMeaningPointSize = 11;
constexpr int GrammarCaptionPointSize = 14;

} // namespace Theme
