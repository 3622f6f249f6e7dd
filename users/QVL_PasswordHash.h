#pragma once

#include <QString>

#include <cstddef>

// How a profile stores its password: Argon2id through libsodium, salted, as
// the text "$argon2id$v=19$m=…,t=…,p=1$salt$hash" over the password's UTF-8.
// Profiles of earlier versions hold an unsalted MD5 over the 8-bit text; such
// a digest still opens the profile and is replaced at the next save.
namespace TQVL_PasswordHash {

// The stored form of `password`. Raises a German error when hashing fails (out of memory).
QString Hash(const QString& password);
// Whether `typed` is the password stored as `stored` (Argon2id or the legacy digest).
bool Matches(const QString& stored, const QString& typed);
// A stored value of the earlier form: anything but an Argon2id text.
bool IsLegacy(const QString& stored);
// Lower-case hexadecimal MD5 of the password's Latin-1 text, the earlier form.
QString LegacyDigest(const QString& password);

// The Argon2id work factors of new hashes. The program uses libsodium's
// interactive limits; tests that create many profiles lower them.
struct Cost
{
    unsigned long long Operations;
    std::size_t MemoryBytes;
};
Cost CurrentCost();
void SetCost(Cost cost);
Cost ProgramCost();

} // namespace TQVL_PasswordHash
