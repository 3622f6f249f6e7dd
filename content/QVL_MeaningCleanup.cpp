#include "content/QVL_MeaningCleanup.h"

#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Voc.h"

#include <QStringList>

TQVL_MeaningCleanup::Meanings TQVL_MeaningCleanup::Clean(const Meanings& meanings, const QString& delimiters)
{
    QStringList words;
    for (const QString& meaning : meanings) {
        QString rest = meaning;
        for (const QChar delimiter : delimiters)
            rest.replace(delimiter, QChar(u'\n'));
        for (const QString& piece : rest.split(QChar(u'\n'))) {
            const QString word = piece.trimmed();
            if (!word.isEmpty() && !words.contains(word))
                words.append(word);
        }
    }
    Meanings cleaned;
    for (qsizetype i = 0; i < words.size() && i < 2; ++i)
        cleaned[std::size_t(i)] = words[i];
    if (words.size() > 2) {
        const QString joiner = (delimiters.isEmpty() ? QStringLiteral(",") : QString(delimiters.front())) +
                               QLatin1Char(' ');
        cleaned[2] = words.mid(2).join(joiner);
    }
    return cleaned;
}

TQVL_MeaningCleanup::Meanings TQVL_MeaningCleanup::ForeignOf(const TQVL_Card_Voc& card)
{
    return {card.foreign1, card.foreign2, card.foreign3};
}

TQVL_MeaningCleanup::Meanings TQVL_MeaningCleanup::HomeOf(const TQVL_Card_Voc& card)
{
    return {card.home1, card.home2, card.home3};
}

std::vector<TQVL_MeaningCleanup::Change> TQVL_MeaningCleanup::Preview(const TQVL_Card_Container& cards,
                                                                       const QString& delimiters)
{
    std::vector<Change> changes;
    for (int i = 0; i < cards.Count(); ++i) {
        // Sound cards are vocabulary cards too.
        const auto* card = dynamic_cast<const TQVL_Card_Voc*>(cards.Card(i));
        if (!card)
            continue;
        Change change;
        change.Index = i;
        change.Uid = card->Uid;
        change.ForeignBefore = ForeignOf(*card);
        change.HomeBefore = HomeOf(*card);
        change.ForeignAfter = Clean(change.ForeignBefore, delimiters);
        change.HomeAfter = Clean(change.HomeBefore, delimiters);
        if (change.ForeignAfter != change.ForeignBefore || change.HomeAfter != change.HomeBefore)
            changes.push_back(std::move(change));
    }
    return changes;
}

int TQVL_MeaningCleanup::Apply(TQVL_Card_Container& cards, const std::vector<Change>& changes)
{
    int changed = 0;
    for (const Change& change : changes) {
        auto* card = dynamic_cast<TQVL_Card_Voc*>(cards.FindByUid(change.Uid));
        if (!card)
            continue;
        card->foreign1 = change.ForeignAfter[0];
        card->foreign2 = change.ForeignAfter[1];
        card->foreign3 = change.ForeignAfter[2];
        card->home1 = change.HomeAfter[0];
        card->home2 = change.HomeAfter[1];
        card->home3 = change.HomeAfter[2];
        ++changed;
    }
    return changed;
}
