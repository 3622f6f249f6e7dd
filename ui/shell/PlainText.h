#pragma once

#include <QString>

class QLabel;

// Texts from files (cards, lesson and file names, names of learners and
// languages) are shown as typed. Qt takes a text that merely looks like HTML
// for markup: "<b>dog</b>" turns bold, "&lt;" becomes "<", and an <img> makes
// the label read whatever file it names, a device or a pipe included.

// `label` shows every text it is given as typed; returns it.
QLabel* AsPlainText(QLabel* label);

// `text` as a tool tip that shows it as typed. Tool tips guess the format and
// have no switch for it, so a text Qt would take for markup is escaped; any
// other text is returned unchanged.
QString PlainToolTip(const QString& text);
