#pragma once

#include <QByteArray>
#include <QString>

class TQVL_Provider_Item_User;

// The header values of a user profile read from the whole `header` element.
// The users list reads only the first bytes of each profile, which misses the
// password of a profile with a longer name; the user screens read the header
// to its end before they show a profile or decide about its password.
class TFormUsersHeader
{
public:
    // Refreshes uid, name, symbol, last login, practice time and password of
    // `entry` from its file. On a header that cannot be read the entry shows
    // "[Ungültig]" as the list does (values read before stay) and false is returned.
    static bool Reload(TQVL_Provider_Item_User& entry);

    // The file's bytes up to and including "</header>"; empty when the file
    // cannot be read or has no complete header.
    static QByteArray ReadHeader(const QString& fileName);
    // Element text as it stands in the file, with the predefined and numeric entities decoded.
    static QString DecodeText(const QString& text);
};
