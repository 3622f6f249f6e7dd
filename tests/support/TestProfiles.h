#pragma once

#include <QString>

#include <functional>

class TQVL_User;

// Writes a real profile file with its companion, the way the program writes
// it; `adjust` changes the new profile before the save. Returns its uid.
QString WriteProfile(const QString& path, const QString& name, const QString& password = {},
                     const std::function<void(TQVL_User&)>& adjust = {});
