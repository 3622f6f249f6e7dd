#include "query/QVL_ReviewLog.h"

#include "core/QVL_Error.h"
#include "core/QVL_SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view magic = "# Quorvel review log, version ";
constexpr std::string_view columns =
    "time_ms,device,unit_uid,card_uid,verdict,answer_ms,state,stage,stability,difficulty";
constexpr std::string_view fileSuffix = ".reviews.csv";

constexpr std::string_view verdictNames[] = {"right", "almost", "wrong", "self-right", "self-wrong"};
// An overridden verdict is written as its name with this suffix; only "almost" and "wrong" take it.
constexpr std::string_view overriddenSuffix = "-overridden";
constexpr std::string_view undoName = "undo";
constexpr std::string_view stateNames[] = {"new", "learning", "review", "relearning"};

QString notALog(const QString& fileName)
{
    return QStringLiteral("Die Datei \"%1\" ist kein gültiges Antwortprotokoll!").arg(fileName);
}

template <typename Enum, std::size_t N>
bool parseName(std::string_view text, const std::string_view (&names)[N], Enum& result)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (text == names[i]) {
            result = Enum(i);
            return true;
        }
    }
    return false;
}

template <typename Int> bool parseInt(std::string_view text, Int& result)
{
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    return error == std::errc() && end == text.data() + text.size();
}

bool parseDouble(std::string_view text, double& result)
{
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(result);
}

void appendDouble(QByteArray& out, double value)
{
    // The shortest text that reads back as the same double: a replay that
    // starts from a stored memory state computes exactly what the writer did.
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, error == std::errc() ? end - buffer : 0);
}

template <typename Int> void appendInt(QByteArray& out, Int value)
{
    char buffer[24];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, error == std::errc() ? end - buffer : 0);
}

// A text that holds a comma, quote, backslash or line break is quoted as CSV
// does, and its line breaks and backslashes are escaped (\n, \r, \\), so that
// every answer stays on one line.
void appendText(QByteArray& out, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    bool plain = true;
    for (const char c : utf8)
        plain = plain && c != ',' && c != '"' && c != '\\' && c != '\n' && c != '\r';
    if (plain) {
        out.append(utf8);
        return;
    }
    out.append('"');
    for (const char c : utf8) {
        if (c == '"')
            out.append("\"\"");
        else if (c == '\\')
            out.append("\\\\");
        else if (c == '\n')
            out.append("\\n");
        else if (c == '\r')
            out.append("\\r");
        else
            out.append(c);
    }
    out.append('"');
}

// Splits the fields of one line. A quoted field may hold commas, doubled
// quotes and escaped line breaks; its text is unescaped into `scratch`.
class FieldReader
{
public:
    FieldReader(const char* begin, const char* end) : p(begin), stop(end) {}

    bool Next(std::string_view& field, std::string& scratch)
    {
        if (done)
            return false;
        if (p < stop && *p == '"') {
            scratch.clear();
            ++p;
            for (;;) {
                if (p >= stop)
                    return false;
                if (*p == '"') {
                    if (p + 1 < stop && p[1] == '"') {
                        scratch.push_back('"');
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                if (*p == '\\') {
                    if (p + 1 >= stop)
                        return false;
                    const char escaped = p[1];
                    if (escaped != 'n' && escaped != 'r' && escaped != '\\')
                        return false;
                    scratch.push_back(escaped == 'n' ? '\n' : escaped == 'r' ? '\r' : '\\');
                    p += 2;
                    continue;
                }
                scratch.push_back(*p++);
            }
            field = scratch;
            return finishField();
        }
        const char* comma = static_cast<const char*>(std::memchr(p, ',', std::size_t(stop - p)));
        const char* fieldEnd = comma ? comma : stop;
        field = std::string_view(p, std::size_t(fieldEnd - p));
        p = fieldEnd;
        return finishField();
    }

    bool AtEnd() const { return done; }

private:
    bool finishField()
    {
        if (p == stop) {
            done = true;
            return true;
        }
        if (*p != ',')
            return false;
        ++p;
        return true;
    }

    const char* p;
    const char* stop;
    bool done = false;
};

// Reuses the QString of the previous line when the bytes are the same: a log
// names few units and one device, and a string per line would cost more than the parsing.
class TextCache
{
public:
    const QString& Get(std::string_view bytes)
    {
        if (!valid || bytes != std::string_view(last)) {
            last.assign(bytes.data(), bytes.size());
            text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
            valid = true;
        }
        return text;
    }

private:
    std::string last;
    QString text;
    bool valid = false;
};

struct LineParser
{
    TextCache devices;
    TextCache units;
    std::string scratch;

    bool Parse(const char* begin, const char* end, TQVL_ReviewLog_Entry& entry, bool& undo)
    {
        if (end > begin && end[-1] == '\r')
            --end;
        FieldReader fields(begin, end);
        std::string_view f;
        if (!fields.Next(f, scratch) || !parseInt(f, entry.TimeMs))
            return false;
        if (!fields.Next(f, scratch) || f.empty())
            return false;
        entry.Device = devices.Get(f);
        if (!fields.Next(f, scratch) || f.empty())
            return false;
        entry.UnitUid = units.Get(f);
        if (!fields.Next(f, scratch) || !parseInt(f, entry.CardUid))
            return false;
        if (!fields.Next(f, scratch))
            return false;
        undo = f == undoName;
        entry.Overridden = false;
        entry.Verdict = TQVL_ReviewVerdict::Right;
        if (!undo && f.ends_with(overriddenSuffix)) {
            f.remove_suffix(overriddenSuffix.size());
            entry.Overridden = true;
            if (f != verdictNames[std::size_t(TQVL_ReviewVerdict::Wrong)] &&
                f != verdictNames[std::size_t(TQVL_ReviewVerdict::AlmostRight)])
                return false;
        }
        if (!undo && !parseName(f, verdictNames, entry.Verdict))
            return false;
        if (!fields.Next(f, scratch) || !parseInt(f, entry.AnswerMs) || entry.AnswerMs < 0)
            return false;
        if (!fields.Next(f, scratch) || !parseName(f, stateNames, entry.StateBefore))
            return false;
        if (!fields.Next(f, scratch))
            return false;
        entry.StageAfter = -1;
        if (!f.empty() && (!parseInt(f, entry.StageAfter) || entry.StageAfter < 0))
            return false;
        if (!fields.Next(f, scratch))
            return false;
        entry.Stability = 0.0;
        if (!f.empty() && (!parseDouble(f, entry.Stability) || entry.Stability <= 0.0))
            return false;
        if (!fields.Next(f, scratch))
            return false;
        entry.Difficulty = 0.0;
        if (!f.empty() && !parseDouble(f, entry.Difficulty))
            return false;
        // Both parts of the memory state or neither.
        if ((entry.Stability == 0.0) != (entry.Difficulty == 0.0))
            return false;
        return fields.AtEnd();
    }
};

// Removes the answer an undo line names: the latest one with its time, unit and card.
bool takeBack(std::vector<TQVL_ReviewLog_Entry>& entries, const TQVL_ReviewLog_Entry& undone)
{
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->TimeMs == undone.TimeMs && it->CardUid == undone.CardUid && it->UnitUid == undone.UnitUid) {
            entries.erase(std::next(it).base());
            return true;
        }
    }
    return false;
}

} // namespace

QByteArray TQVL_ReviewLog::Header()
{
    QByteArray header;
    header.append(magic.data(), qsizetype(magic.size()));
    appendInt(header, Version);
    header.append('\n');
    header.append(columns.data(), qsizetype(columns.size()));
    header.append('\n');
    return header;
}

namespace {

void appendLine(QByteArray& out, const TQVL_ReviewLog_Entry& entry, bool undo)
{
    appendInt(out, entry.TimeMs);
    out.append(',');
    appendText(out, entry.Device);
    out.append(',');
    appendText(out, entry.UnitUid);
    out.append(',');
    appendInt(out, entry.CardUid);
    out.append(',');
    const std::string_view verdict = undo ? undoName : verdictNames[std::size_t(entry.Verdict)];
    out.append(verdict.data(), qsizetype(verdict.size()));
    if (!undo && entry.Overridden &&
        (entry.Verdict == TQVL_ReviewVerdict::Wrong || entry.Verdict == TQVL_ReviewVerdict::AlmostRight))
        out.append(overriddenSuffix.data(), qsizetype(overriddenSuffix.size()));
    out.append(',');
    appendInt(out, entry.AnswerMs);
    out.append(',');
    const std::string_view state = stateNames[std::size_t(entry.StateBefore)];
    out.append(state.data(), qsizetype(state.size()));
    out.append(',');
    if (entry.StageAfter >= 0)
        appendInt(out, entry.StageAfter);
    out.append(',');
    if (entry.Stability > 0.0) {
        appendDouble(out, entry.Stability);
        out.append(',');
        appendDouble(out, entry.Difficulty);
    } else {
        out.append(',');
    }
    out.append('\n');
}

} // namespace

void TQVL_ReviewLog::AppendLine(QByteArray& out, const TQVL_ReviewLog_Entry& entry)
{
    appendLine(out, entry, false);
}

void TQVL_ReviewLog::AppendUndoLine(QByteArray& out, const TQVL_ReviewLog_Entry& entry)
{
    appendLine(out, entry, true);
}

TQVL_ReviewLog::Contents TQVL_ReviewLog::Parse(const QByteArray& bytes, const QString& fileName)
{
    Contents contents;
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    if (p == end)
        return contents;

    // The header: a writer killed while creating the file may have left only part of it.
    const QByteArray header = Header();
    if (bytes.size() < header.size() && header.startsWith(bytes)) {
        contents.TornTail = true;
        return contents;
    }
    const char* firstEnd = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
    if (!firstEnd)
        throw TQVL_Error(notALog(fileName));
    const std::string_view first(p, std::size_t(firstEnd - p));
    if (!first.starts_with(magic))
        throw TQVL_Error(notALog(fileName));
    int version = 0;
    if (!parseInt(first.substr(magic.size()), version))
        throw TQVL_Error(notALog(fileName));
    if (version != Version)
        throw TQVL_Error(QStringLiteral("Das Antwortprotokoll \"%1\" hat die Version %2. Dieses Programm kann nur "
                                        "Antwortprotokolle der Version %3 lesen. Bitte aktualisieren Sie Quorvel.")
                             .arg(fileName)
                             .arg(version)
                             .arg(Version));
    p = firstEnd + 1;
    const char* secondEnd = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
    if (!secondEnd || std::string_view(p, std::size_t(secondEnd - p)) != columns)
        throw TQVL_Error(notALog(fileName));
    p = secondEnd + 1;

    // About a hundred bytes per answer.
    contents.Entries.reserve(std::size_t((end - p) / 90 + 1));
    LineParser parser;
    TQVL_ReviewLog_Entry entry;
    bool undo = false;
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', std::size_t(end - p)));
        if (!lineEnd) {
            contents.TornTail = true;
            break;
        }
        if (lineEnd > p) {
            if (!parser.Parse(p, lineEnd, entry, undo))
                ++contents.DamagedLines;
            else if (!undo)
                contents.Entries.push_back(entry);
            else if (!takeBack(contents.Entries, entry))
                ++contents.DamagedLines;
        }
        p = lineEnd + 1;
    }
    return contents;
}

TQVL_ReviewLog::Contents TQVL_ReviewLog::Read(const QString& fileName)
{
    if (!QFileInfo::exists(fileName))
        return {};
    return Parse(TQVL_FileHandle::ReadWholeFile(fileName), fileName);
}

bool TQVL_ReviewLog::IsDeviceId(const QString& id)
{
    if (id.size() != 32)
        return false;
    return std::all_of(id.begin(), id.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

namespace {

QString profileStem(const QString& profileFileName)
{
    const QFileInfo info(profileFileName);
    return info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
}

} // namespace

QString TQVL_ReviewLog::FileName(const QString& profileFileName, const QString& deviceId)
{
    return profileStem(profileFileName) + QLatin1Char('.') + deviceId +
           QLatin1String(fileSuffix.data(), qsizetype(fileSuffix.size()));
}

QStringList TQVL_ReviewLog::FilesOf(const QString& profileFileName)
{
    const QFileInfo info(profileFileName);
    const QString base = info.completeBaseName();
    // Only a device id between the profile's name and the suffix: the logs of
    // a profile "Anna.b" are not those of "Anna".
    const QRegularExpression pattern(
        QStringLiteral("^%1\\.[0-9a-f]{32}\\.reviews\\.csv$").arg(QRegularExpression::escape(base)));
    QStringList files;
    const QDir folder = info.absoluteDir();
    for (const QString& name : folder.entryList({base + QStringLiteral(".*.reviews.csv")}, QDir::Files, QDir::Name)) {
        if (pattern.match(name).hasMatch())
            files << folder.absoluteFilePath(name);
    }
    return files;
}

TQVL_ReviewLog::Contents TQVL_ReviewLog::ReadProfile(const QString& profileFileName)
{
    Contents all;
    for (const QString& file : FilesOf(profileFileName)) {
        Contents one = Read(file);
        all.DamagedLines += one.DamagedLines;
        all.TornTail = all.TornTail || one.TornTail;
        if (all.Entries.empty())
            all.Entries = std::move(one.Entries);
        else
            all.Entries.insert(all.Entries.end(), std::make_move_iterator(one.Entries.begin()),
                               std::make_move_iterator(one.Entries.end()));
    }
    std::stable_sort(all.Entries.begin(), all.Entries.end(),
                     [](const TQVL_ReviewLog_Entry& a, const TQVL_ReviewLog_Entry& b) { return a.TimeMs < b.TimeMs; });
    return all;
}
