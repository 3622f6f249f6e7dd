#pragma once

#include <QByteArray>
#include <QString>

// An update package: a .tar.xz with "Updateinstructions.xml" and the files it
// names, signed with the project's key (Ed25519, the 64 bytes of the detached
// signature in "<package>.sig"). Nothing of a package is unpacked unless its
// signature verifies, and no entry may leave the folder it is unpacked into.
namespace TQVL_UpdatePackage {

// The public key of the project's update packages (32 bytes).
QByteArray ReleaseKey();

// Raises a German error naming `updateName` unless `signature` is a valid
// signature of the contents of `packageFile` by `publicKey`. The caller
// makes sure nobody else can change `packageFile` until it is unpacked.
void Verify(const QString& packageFile, const QByteArray& signature, const QByteArray& publicKey,
            const QString& updateName);

// Unpacks `packageFile` into `folder` (created when missing). Only plain
// files and folders with relative names and no ".." are accepted; any other
// entry refuses the whole package. On failure `folder` may hold part of the
// package: the caller unpacks into a folder of its own and removes it.
void Unpack(const QString& packageFile, const QString& folder);

// Whether `name` is acceptable as an entry name: relative, no ".." part.
bool IsSafeEntryName(const QString& name);

} // namespace TQVL_UpdatePackage
