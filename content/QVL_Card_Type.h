#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

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

// The one table of the kinds' names.
namespace TQVL_CardTypes {

constexpr int Count = 6;
// Whether `value` names a kind (a value read from elsewhere may not).
constexpr bool IsValid(int value)
{
    return value >= 0 && value < Count;
}
// The name a file stores for the kind ("voc"); `type` must be valid.
const QString& StoredName(TQVL_CardType type);
// The same as Latin-1, for readers and writers that work on a file's bytes.
QLatin1String StoredLatin1Name(TQVL_CardType type);
// The kind a file names, compared exactly; none for an unknown name.
std::optional<TQVL_CardType> OfStoredName(QStringView name);
// The name unit lists show for the kind ("Vokabeln"); `type` must be valid.
const QString& Caption(TQVL_CardType type);

} // namespace TQVL_CardTypes
