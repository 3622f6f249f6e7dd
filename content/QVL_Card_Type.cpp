#include "content/QVL_Card_Type.h"

#include <array>

namespace {

constexpr QLatin1String storedNames[TQVL_CardTypes::Count] = {
    QLatin1String("info"),    QLatin1String("voc"),   QLatin1String("pic"),
    QLatin1String("grammar"), QLatin1String("sound"), QLatin1String("longtermstorage"),
};

struct Names
{
    QString Stored;
    QString Caption;
};

// Literals, so that writing thousands of cards allocates no names.
const std::array<Names, TQVL_CardTypes::Count>& names()
{
    static const std::array<Names, TQVL_CardTypes::Count> table{{
        {QString(storedNames[tInfo]), QStringLiteral("info")},
        {QString(storedNames[tVoc]), QStringLiteral("Vokabeln")},
        {QString(storedNames[tPic]), QStringLiteral("Bilder")},
        {QString(storedNames[tGrammar]), QStringLiteral("Grammatik")},
        {QString(storedNames[tSound]), QStringLiteral("sound")},
        {QString(storedNames[tLongTermStorage]), QStringLiteral("longtermstorage")},
    }};
    return table;
}

} // namespace

const QString& TQVL_CardTypes::StoredName(TQVL_CardType type)
{
    return names()[std::size_t(type)].Stored;
}

QLatin1String TQVL_CardTypes::StoredLatin1Name(TQVL_CardType type)
{
    return storedNames[std::size_t(type)];
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
