#pragma once

#include "content/QVL_Provider_Item_Custom.h"
#include "core/QVL_DateTime.h"

#include <QByteArray>

// A user profile file with what the user selection shows.
class TQVL_Provider_Item_User : public TQVL_Provider_Item_Custom
{
public:
    // Reads the header values from the list's first bytes of the file.
    void Load() override;
    // Reads them again from the whole `header` element: the first bytes miss
    // the password of a profile with a longer name, so the user screens read
    // the header to its end before they show a profile or decide about its
    // password. False when the header cannot be read.
    bool ReloadWholeHeader();

    // The file's bytes up to and including "</header>"; empty when the file
    // cannot be read or has no complete header.
    static QByteArray ReadWholeHeader(const QString& fileName);
    // Element text as it stands in the file, with the predefined and numeric entities decoded.
    static QString DecodeText(const QString& text);

    QString UserName;
    int Icon = 0;
    // The stored password digest, unchanged; empty without password.
    QString Password;
    QString Uid;
    TQVL_DateTime LastLogin;
    qint64 AllTimeQuerySeconds = 0;

private:
    // Takes the values read, in the order of the header names; a header that
    // cannot be read leaves "[Ungültig]" as the name (values taken before stay).
    bool apply(const QStringList& values);
};
