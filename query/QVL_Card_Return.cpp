#include "query/QVL_Card_Return.h"

#include "content/QVL_Card_Grammar.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Voc.h"
#include "query/QVL_Card_Return_Grammar.h"
#include "query/QVL_Card_Return_Pic.h"
#include "query/QVL_Card_Return_Voc.h"

TQVL_Card_Return::~TQVL_Card_Return() = default;

std::unique_ptr<TQVL_Card_Return> CreateReturn(const TQVL_Card& card, const TQVL_CardArrangement* arrangement)
{
    switch (card.CardType) {
    case tVoc:
    case tSound:
        return std::make_unique<TQVL_Card_Return_Voc>(static_cast<const TQVL_Card_Voc&>(card));
    case tPic:
        return std::make_unique<TQVL_Card_Return_Pic>(static_cast<const TQVL_Card_Pic&>(card));
    case tGrammar:
        return std::make_unique<TQVL_Card_Return_Grammar>(static_cast<const TQVL_Card_Grammar&>(card), arrangement);
    case tInfo:
    case tLongTermStorage:
        break;
    }
    return nullptr;
}
