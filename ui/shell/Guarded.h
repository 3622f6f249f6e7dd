#pragma once

#include "core/QVL_Error.h"
#include "ui/shell/DialogService.h"

#include <QString>
#include <QtGlobal>

#include <exception>

// Runs the body of a slot or event handler that calls the engine: an engine
// error reaches the learner as an error message and never leaves into Qt.
// Returns whether the body ran through.
template <typename Body>
bool Guarded(Body&& body)
{
    try {
        body();
        return true;
    } catch (const TQVL_Error& error) {
        TDialogService::Current().ShowError(error.Message());
    } catch (const std::exception& error) {
        qWarning("Unexpected exception: %s", error.what());
        TDialogService::Current().ShowError(UnexpectedErrorText);
    } catch (...) {
        qWarning("Unexpected exception of an unknown type");
        TDialogService::Current().ShowError(UnexpectedErrorText);
    }
    return false;
}
