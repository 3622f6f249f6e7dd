#pragma once

#include <QtGlobal>

// Kinds of cards and of units. A card's kind is named by its element in the
// unit file; a unit's kind by its header element "typ". Long-term storages are
// units of their own kind and hold vocabulary cards.
enum TQVL_CardType : quint8
{
    tInfo = 0,
    tVoc = 1,
    tPic = 2,
    tGrammar = 3,
    tSound = 4,
    tLongTermStorage = 5,
};
