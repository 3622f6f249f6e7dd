#pragma once

#include <QString>

#include <sys/types.h>

// While it lives, the calling thread opens, creates, renames and removes
// files with the rights of `owner` instead of root's. The apply step runs as
// root when the program folder needs it; in the learner's own folders it
// acts as the learner, so that a folder swapped for a link after the check
// cannot lead root's writes elsewhere, and what it creates there stays the
// learner's. Does nothing unless the program runs as root and `owner` is
// someone else. (setfsuid and setfsgid change only the calling thread.)
class TQVL_FileIdentity
{
public:
    struct TOwner
    {
        uid_t Uid = 0;
        gid_t Gid = 0;
    };

    // The owner of `folder`; root when it cannot be read.
    static TOwner OwnerOf(const QString& folder);

    // Raises a German error when the identity cannot be taken.
    explicit TQVL_FileIdentity(TOwner owner);
    ~TQVL_FileIdentity();
    TQVL_FileIdentity(const TQVL_FileIdentity&) = delete;
    TQVL_FileIdentity& operator=(const TQVL_FileIdentity&) = delete;

private:
    bool switched = false;
};
