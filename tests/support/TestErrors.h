#pragma once

#include <QString>

#include <functional>

// The message of the error `action` raises; empty when it raises none.
QString ErrorOf(const std::function<void()>& action);

// The message of the error opening `path` into `object` raises; empty when
// the file opens (it is closed again).
template <class TFileObject> QString OpenError(TFileObject& object, const QString& path)
{
    return ErrorOf([&] {
        object.Open(path);
        object.CloseFile();
    });
}
