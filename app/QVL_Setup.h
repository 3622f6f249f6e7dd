#pragma once

#include <QString>

class TQVL_System;

// The first start: when the application-data folder is missing or empty,
// the data installed with the program (the folder "setup" beside it) is
// copied into the application-data and documents folders.
namespace TQVL_Setup {

// The folder holding the data to install: "setup" below the program folder.
QString SourceFolder(const TQVL_System& system);

// Installs when the application-data folder is missing or empty and the setup data is
// present; returns whether it installed. Raises an error when copying fails;
// a half-copied application-data folder is never left behind.
bool InstallIfFresh(const TQVL_System& system);

// Copies `source`/appdata and `source`/documents into the two folders of
// `system`. Existing documents are never overwritten.
void Install(const QString& source, const TQVL_System& system);

} // namespace TQVL_Setup
