#pragma once

#include <cstdio>

// `quorvel --due [--notify]`: prints the due report (TQVL_DueReport) on
// `out`, or sends it as one desktop notification. Errors go to `err`.
// Exit status 0 when everything was read (and the notification answered).
namespace TQVL_DueCommand {

int Run(bool notify, std::FILE* out = stdout, std::FILE* err = stderr);

} // namespace TQVL_DueCommand
