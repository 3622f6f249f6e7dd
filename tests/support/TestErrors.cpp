#include "tests/support/TestErrors.h"

#include "core/QVL_Error.h"

QString ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const TQVL_Error& error) {
        return error.Message();
    }
    return {};
}
