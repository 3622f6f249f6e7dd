#include "core/QVL_StringWorks.h"

namespace TQVL_StringWorks {

int CountDelimiters(const QString& delimiter, const QString& text)
{
    if (delimiter.isEmpty())
        return 0;
    int count = 0;
    for (qsizetype at = text.indexOf(delimiter); at >= 0; at = text.indexOf(delimiter, at + delimiter.size()))
        ++count;
    return count;
}

QString GetPiece(const QString& text, const QString& delimiter, int index)
{
    Q_ASSERT(index >= 1);
    if (delimiter.isEmpty())
        return index == 1 ? text : QString();
    qsizetype start = 0;
    for (int piece = 1; piece < index; ++piece) {
        const qsizetype at = text.indexOf(delimiter, start);
        if (at < 0)
            return {};
        start = at + delimiter.size();
    }
    const qsizetype end = text.indexOf(delimiter, start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

} // namespace TQVL_StringWorks
