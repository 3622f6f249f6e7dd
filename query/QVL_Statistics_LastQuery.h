#pragma once

#include <QStringList>

// Which units the most recent query covered, whether the learner judged the
// answers himself, and whether its results reached the profile. Filled by the
// query, read by the result screens; never stored on disk.
class TQVL_Statistics_LastQuery
{
public:
    void Add(const QString& uid) { Units.append(uid); }
    void Clear() { Units.clear(); }
    int Count() const { return int(Units.size()); }
    const QString& Get(int index) const { return Units.at(index); }

    QStringList Units;
    bool SelfEvaluated = false;
    bool ResultsStored = false;
};
