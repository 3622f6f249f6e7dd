#include "sync/QVL_Sync_LessonMerge.h"

#include "content/QVL_Card_Container.h"
#include "core/QVL_XMLStream.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>

#include <algorithm>

namespace {

// A card's stored form: what "changed" means is what the file would hold.
QByteArray bytesOf(const TQVL_Card& card)
{
    TQVL_XMLStream stream(1);
    stream.Begin(TQVL_Card::KindName(card.CardType));
    card.WriteXML(stream);
    stream.End();
    return stream.Finish();
}

QHash<qint32, QByteArray> index(const TQVL_Card_Container& cards)
{
    QHash<qint32, QByteArray> result;
    for (int i = 0; i < cards.Count(); ++i)
        result.insert(cards.Card(i)->Uid, bytesOf(*cards.Card(i)));
    return result;
}

} // namespace

TQVL_Sync_LessonMerge::Result TQVL_Sync_LessonMerge::Merge(const TQVL_Card_Container* base,
                                                           const TQVL_Card_Container& mine,
                                                           const TQVL_Card_Container& theirs, bool theirsIsLater)
{
    const QHash<qint32, QByteArray> was = base ? index(*base) : QHash<qint32, QByteArray>();
    const QHash<qint32, QByteArray> ours = index(mine);
    const QHash<qint32, QByteArray> other = index(theirs);

    Result result;
    result.Cards = std::make_unique<TQVL_Card_Container>();
    TQVL_Card_Container& out = *result.Cards;
    out.MaxCardId = std::max({mine.MaxCardId, theirs.MaxCardId, base ? base->MaxCardId : 0});

    for (int i = 0; i < mine.Count(); ++i) {
        const TQVL_Card& card = *mine.Card(i);
        const qint32 uid = card.Uid;
        const auto inBase = was.constFind(uid);
        const auto inTheirs = other.constFind(uid);
        const bool changedHere = inBase == was.constEnd() || *inBase != ours.value(uid);
        if (inTheirs == other.constEnd()) {
            // Deleted there: gone, unless it was changed here or is new here.
            if (inBase != was.constEnd() && !changedHere) {
                result.ChangesMine = true;
                continue;
            }
            out.Add(card.Clone());
            continue;
        }
        if (*inTheirs == ours.value(uid)) {
            out.Add(card.Clone());
            continue;
        }
        const bool changedThere = inBase == was.constEnd() || *inBase != *inTheirs;
        const TQVL_Card& theirCard = *theirs.FindByUid(uid);
        if (inBase == was.constEnd()) {
            // Added on both sides under one id: two different cards.
            out.Add(card.Clone());
            continue;
        }
        if (changedHere && changedThere) {
            result.ChangedOnBoth << uid;
            if (theirsIsLater) {
                out.Add(theirCard.Clone());
                result.ChangesMine = true;
            } else {
                out.Add(card.Clone());
            }
        } else if (changedThere) {
            out.Add(theirCard.Clone());
            result.ChangesMine = true;
        } else {
            out.Add(card.Clone());
        }
    }
    for (int i = 0; i < theirs.Count(); ++i) {
        const TQVL_Card& card = *theirs.Card(i);
        const qint32 uid = card.Uid;
        const bool inMine = ours.contains(uid);
        if (inMine && was.contains(uid))
            continue;
        if (inMine && ours.value(uid) == other.value(uid))
            continue;
        if (!inMine && was.contains(uid)) {
            // Deleted here; kept when changed there since, so that no edit is lost.
            if (was.value(uid) == other.value(uid))
                continue;
        }
        std::unique_ptr<TQVL_Card> copy = card.Clone();
        if (inMine)
            copy->Uid = ++out.MaxCardId;
        out.Add(std::move(copy));
        result.ChangesMine = true;
    }
    return result;
}

QString TQVL_Sync_LessonMerge::Notice(const QString& lessonName, const QList<qint32>& changedOnBoth)
{
    QStringList ids;
    for (const qint32 uid : changedOnBoth)
        ids << QString::number(uid);
    return QStringLiteral("Die Lektion \"%1\" wurde auf zwei Geräten geändert. Bei den Karten %2 gilt die spätere "
                          "Änderung.")
        .arg(lessonName, ids.join(QStringLiteral(", ")));
}
