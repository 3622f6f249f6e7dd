#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What a screen reader needs of every control: a name and a description.
// Screens name what only they know; the rest follows from what the learner
// sees next to the control.
namespace Accessibility {

// Gives every control below `root` that has none a name (its label in the
// layout, its group's title, its placeholder, its tool tip) and a description
// (its tool tip, or where it sits: `context` and the group). Run by the screen
// bases when a screen or dialog is shown; running it again changes nothing.
void Describe(QWidget* root, const QString& context);

// The controls below `root` (tiles of tile menus included) that a screen
// reader would announce without a name or without a description, as
// "<object name> (<class>): <what is missing>"; empty when all are complete.
QStringList Incomplete(QWidget* root);

} // namespace Accessibility
