#pragma once

#include "core/QVL_ErrorDisplay.h"

#include <QStringList>

// Records the errors the engine shows while it is installed.
class RecordingErrorDisplay final : public TQVL_ErrorDisplay
{
public:
    RecordingErrorDisplay() : previous(Install(this)) {}
    ~RecordingErrorDisplay() override { Install(previous); }

    void ShowError(const QString& text) override { Shown.append(text); }

    QStringList Shown;

private:
    TQVL_ErrorDisplay* previous;
};
