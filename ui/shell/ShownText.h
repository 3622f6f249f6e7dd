#pragma once

#include <QString>

// A text read from a file may be of any length; measuring or laying out
// megabytes of it freezes the window for minutes. Controls measure and show
// at most this many characters, more than any line on screen can hold.
constexpr qsizetype ShownTextLimit = 512;

// `text`, cut to `limit` characters with an ellipsis when it is longer.
inline QString ShownText(const QString& text, qsizetype limit = ShownTextLimit)
{
    if (text.size() <= limit)
        return text;
    qsizetype kept = limit - 1;
    // Never half a character outside the basic plane.
    if (kept > 0 && text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept) + QChar(0x2026);
}
