#pragma once

#include <QString>

// One update the version service offered, as it was sent.
class TQVL_UpdateItem
{
public:
    QString Version;
    bool FullUpdate = false;
    // The description; may span several lines.
    QString Text;
    // Address of the update package (a signed .tar.xz).
    QString Download;
    QString Date;
};
