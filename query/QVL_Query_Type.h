#pragma once

#include <QtGlobal>

// How a query presents its cards; chosen by the query menus, never stored.
enum class TQVL_QueryType : quint8
{
    Simple = 0,
    Play = 1,
    MultipleChoice = 2,
};
