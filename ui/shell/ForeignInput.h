#pragma once

#include <QVariant>
#include <QWidget>

// Text fields that take foreign-language input carry this mark; only in them
// the main window applies the automatic character replacement.
constexpr int ForeignInputMark = 4;

inline void MarkForeignInput(QWidget* field)
{
    field->setProperty("Tag", ForeignInputMark);
}

inline bool IsForeignInput(const QWidget* field)
{
    return field && field->property("Tag").toInt() == ForeignInputMark;
}
