#include "content/QVL_Card_Type.h"

#include <array>

namespace {

struct Names
{
    QString Stored;
    QString Caption;
};

// Literals, so that writing thousands of cards allocates no names.
const std::array<Names, TQVL_CardTypes::Count>& names()
{
    static const std::array<Names, TQVL_CardTypes::Count> table{{
        {QStringLiteral("info"), QStringLiteral("info")},
        {QStringLiteral("voc"), QStringLiteral("Vokabeln")},
        {QStringLiteral("pic"), QStringLiteral("Bilder")},
        {QStringLiteral("grammar"), QStringLiteral("Grammatik")},
        {QStringLiteral("sound"), QStringLiteral("sound")},
        {QStringLiteral("longtermstorage"), QStringLiteral("longtermstorage")},
    }};
    return table;
}

} // namespace

const QString& TQVL_CardTypes::StoredName(TQVL_CardType type)
{
    return names()[std::size_t(type)].Stored;
}

std::optional<TQVL_CardType> TQVL_CardTypes::OfStoredName(QStringView name)
{
    for (int type = 0; type < Count; ++type)
        if (QStringView(names()[std::size_t(type)].Stored) == name)
            return TQVL_CardType(type);
    return std::nullopt;
}

const QString& TQVL_CardTypes::Caption(TQVL_CardType type)
{
    return names()[std::size_t(type)].Caption;
}
