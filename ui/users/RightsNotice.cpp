#include "ui/users/RightsNotice.h"

#include "ui/shell/FormMessage.h"
#include "users/QVL_User.h"
#include "users/QVL_Users.h"

bool HasRightOrNotice(const TQVL_Users& users, TQVL_Right right)
{
    if (users.HasActiveUser() && users.GetActiveUser().Rights().*right)
        return true;
    TFormUsersNoRight notice;
    notice.ShowModal();
    return false;
}
