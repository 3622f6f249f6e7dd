#include "content/QVL_Unit_Integration.h"

#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"

#include <QHash>
#include <QPair>

QString TQVL_Unit_Integration::Mismatch(const TQVL_Unit& destination, const TQVL_Unit& source)
{
    if (!source.SameLanguages(destination))
        return QStringLiteral("Die Sprachen der Lektionen stimmen nicht überein!");
    const bool storage = destination.Typ == tLongTermStorage;
    if ((storage && source.Typ != tVoc) || (!storage && source.Typ != destination.Typ))
        return QStringLiteral("Die Inhaltstypen der Lektionen stimmen nicht überein!");
    return {};
}

std::vector<TQVL_Unit_Integration::Conflict> TQVL_Unit_Integration::FindConflicts(const TQVL_Unit& storage,
                                                                                  const TQVL_Unit& source)
{
    std::vector<Conflict> found;
    // A pair has one row: its identical match marks the row of its similar match.
    QHash<QPair<const TQVL_Card*, const TQVL_Card*>, std::size_t> rows;
    storage.Cards->FindMatches(*source.Cards, false, [&](TQVL_Card& mine, TQVL_Card& theirs, bool) {
        rows.insert({&mine, &theirs}, found.size());
        found.push_back({false, &mine, &theirs});
    });
    storage.Cards->FindMatches(*source.Cards, true, [&](TQVL_Card& mine, TQVL_Card& theirs, bool) {
        const auto row = rows.constFind({&mine, &theirs});
        if (row != rows.constEnd()) {
            found[*row].Equal = true;
        } else {
            rows.insert({&mine, &theirs}, found.size());
            found.push_back({true, &mine, &theirs});
        }
    });
    return found;
}

int TQVL_Unit_Integration::Integrate(TQVL_Unit& destination, const TQVL_Unit& source, bool skipConflicts)
{
    const QString mismatch = Mismatch(destination, source);
    if (!mismatch.isEmpty())
        throw TQVL_Error(mismatch);
    // Refused access changes nothing, in the file or in memory.
    if (!destination.RequestWriteAccess())
        throw TQVL_Error(QStringLiteral("Datei ist schreibgeschützt!"));
    // Another program may have changed the destination since it was checked; it has just been read again.
    if (const QString changed = Mismatch(destination, source); !changed.isEmpty()) {
        destination.ReleaseWriteAccess();
        throw TQVL_Error(changed);
    }
    TQVL_Card_Container& cards = *destination.Cards;
    const int before = cards.Count();
    const qint32 maxCardIdBefore = cards.MaxCardId;
    try {
        cards.Integrate(*source.Cards, skipConflicts, skipConflicts);
        destination.Save();
    } catch (...) {
        // The unit in memory stays what its file holds.
        while (cards.Count() > before)
            cards.Delete(cards.Count() - 1);
        cards.MaxCardId = maxCardIdBefore;
        destination.ReleaseWriteAccess();
        throw;
    }
    destination.ReleaseWriteAccess();
    return before;
}
