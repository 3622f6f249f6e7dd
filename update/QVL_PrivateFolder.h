#pragma once

#include <QString>

// A fresh folder below the temporary folder that only the user running the
// program can enter (made by mkdtemp, mode 0700). The apply step copies a
// package here before it checks its signature and unpacks it here, so that
// nobody with fewer rights can change a file between the check and its use.
// Removed with everything in it when released, unless kept.
class TQVL_PrivateFolder
{
public:
    // Raises a German error when the folder cannot be made.
    TQVL_PrivateFolder();
    ~TQVL_PrivateFolder();
    TQVL_PrivateFolder(const TQVL_PrivateFolder&) = delete;
    TQVL_PrivateFolder& operator=(const TQVL_PrivateFolder&) = delete;

    const QString& Path() const { return path; }
    // The folder stays after release (a program started from it may still run).
    void Keep() { keep = true; }

    // Copies the regular file `source` (not a link, pipe or device) into this
    // folder as `name` and returns the copy's path. Raises when `source` is
    // not such a file or holds more than `maxBytes`.
    QString CopyIn(const QString& source, const QString& name, qint64 maxBytes) const;

private:
    QString path;
    bool keep = false;
};
