#pragma once

#include <QString>

#include <type_traits>

// Libraries and modules the program loads when it first needs them, not at
// start: every symbol bound at once, private to the caller, and kept for the
// rest of the run (none of them can be unloaded safely).
namespace TQVL_LateLibrary {

// `file` is a path or a name the dynamic loader looks up ("libarchive.so.13").
// nullptr when it cannot be loaded; `error` then says why.
void* Open(const QString& file, QString* error = nullptr);

// The export `name` of `library`, or nullptr; `error` then says why.
void* Symbol(void* library, const char* name, QString* error = nullptr);

// Sets `function` to the export `name`; false when there is none, and `error` then says why.
template <typename Function> bool Bind(void* library, Function& function, const char* name, QString* error = nullptr)
{
    static_assert(std::is_pointer_v<Function>);
    function = reinterpret_cast<Function>(Symbol(library, name, error));
    return function != nullptr;
}

} // namespace TQVL_LateLibrary
