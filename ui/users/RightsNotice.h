#pragma once

#include "users/QVL_User_Rights.h"

class TQVL_Users;

// Whether the logged-in user has `right`; when not (or nobody is logged in),
// the missing-right notice is shown and the command does nothing.
bool HasRightOrNotice(const TQVL_Users& users, TQVL_Right right);
