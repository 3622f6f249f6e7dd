#pragma once

#include "core/QVL_Error.h"

#include <memory>
#include <utility>

// The one profile a manager dialog edits at a time (a user profile, a
// language profile): either an object the program keeps using, edited in
// place (the logged-in user, a language of the open unit), or one the dialog
// opened for itself and closes again. The session holds the write access it
// was granted until the profile is saved and closed, or released.
template <typename TProfile> class TProfileEditSession
{
public:
    TProfileEditSession() = default;
    ~TProfileEditSession() { Release(); }
    TProfileEditSession(const TProfileEditSession&) = delete;
    TProfileEditSession& operator=(const TProfileEditSession&) = delete;

    // Edits `shared` in place; none may be loaded.
    void Borrow(TProfile& shared)
    {
        expectEmpty();
        profile = &shared;
    }
    // Edits a profile the dialog opened; none may be loaded.
    void Adopt(std::unique_ptr<TProfile> opened)
    {
        expectEmpty();
        owned = std::move(opened);
        profile = owned.get();
    }

    // The profile being edited, or nullptr.
    TProfile* Profile() const { return profile; }
    // Whether the profile is the program's own object rather than the dialog's.
    bool IsBorrowed() const { return profile && !owned; }

    // Asks for the profile's write access unless `allowed` is false; the
    // answer holds until the profile is closed.
    bool RequestWriteAccess(bool allowed = true)
    {
        writable = profile && allowed && profile->RequestWriteAccess();
        return writable;
    }
    bool Writable() const { return writable; }

    // Saves with `save(profile)` when the write access was granted, then
    // closes a profile of the dialog's own and forgets the profile. A failed
    // save raises, and the profile stays loaded with its write access.
    template <typename Save> void Close(Save&& save)
    {
        if (!profile)
            return;
        if (writable)
            save(*profile);
        writable = false;
        if (owned) {
            std::unique_ptr<TProfile> closing = std::move(owned);
            profile = nullptr;
            closing->CloseFile();
        }
        profile = nullptr;
    }

    // Lets go of the profile without saving (the dialog is going away, or the
    // profile's file is deleted): a profile of the dialog's own is closed, a
    // borrowed one drops the write access the session took.
    void Release() noexcept
    {
        try {
            if (owned && owned->IsOpen)
                owned->CloseFile();
            else if (profile && !owned && writable && profile->IsOpen && profile->WriteAccess)
                profile->ReleaseWriteAccess();
        } catch (const TQVL_Error&) {
            // Nothing to report any more: the file is read afresh the next time.
        }
        owned.reset();
        profile = nullptr;
        writable = false;
    }

private:
    void expectEmpty() const
    {
        if (profile)
            throw TQVL_Error(QStringLiteral("a profile is still loaded"));
    }

    TProfile* profile = nullptr;
    std::unique_ptr<TProfile> owned;
    bool writable = false;
};
