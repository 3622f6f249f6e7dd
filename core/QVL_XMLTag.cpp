#include "core/QVL_XMLTag.h"

#include "core/QVL_DateTime.h"
#include "core/QVL_Encoding.h"
#include "core/QVL_Error.h"

#include <limits>

TQVL_XMLTag::TQVL_XMLTag(QString name, QString value) : Name(std::move(name)), Value(std::move(value)) {}

TQVL_XMLTag::TQVL_XMLTag(TQVL_XMLTag* parentTag, QString name, QString value)
    : Name(std::move(name)), Value(std::move(value)), parent(parentTag)
{
}

TQVL_XMLTag::~TQVL_XMLTag() = default;

TQVL_XMLTag* TQVL_XMLTag::AddChild(QString name, QString value)
{
    // Containers of our files hold a handful of elements; one allocation serves most.
    if (children.capacity() == 0)
        children.reserve(8);
    children.emplace_back(new TQVL_XMLTag(this, std::move(name), std::move(value)));
    return children.back().get();
}

TQVL_XMLTag* TQVL_XMLTag::AddBoolean(QString name, bool value)
{
    TQVL_XMLTag* tag = AddChild(std::move(name));
    tag->SetBoolean(value);
    return tag;
}

TQVL_XMLTag* TQVL_XMLTag::AddInteger(QString name, qint64 value)
{
    return AddChild(std::move(name), QString::number(value));
}

TQVL_XMLTag* TQVL_XMLTag::FindChild(const QString& name) const
{
    for (auto it = children.rbegin(); it != children.rend(); ++it)
        if ((*it)->Name == name)
            return it->get();
    return nullptr;
}

TQVL_XMLTag& TQVL_XMLTag::NeedChild(const QString& name) const
{
    TQVL_XMLTag* tag = FindChild(name);
    if (!tag)
        throw TQVL_Error(QStringLiteral("Element \"%1\" fehlt in \"%2\"").arg(name, Name));
    return *tag;
}

namespace {

// Plain decimal only: an optional sign and digits, nothing around them.
// `Char` is char16_t for a QString, char for the UTF-8 bytes of a file.
template <typename Char>
bool parseInt64(const Char* text, qsizetype length, qint64& result)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < length && (text[i] == Char('-') || text[i] == Char('+'))) {
        negative = text[i] == Char('-');
        ++i;
    }
    if (i == length)
        return false;
    quint64 magnitude = 0;
    const quint64 limit = quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
    for (; i < length; ++i) {
        const Char c = text[i];
        if (c < Char('0') || c > Char('9'))
            return false;
        const quint64 digit = quint64(c - Char('0'));
        if (magnitude > (limit - digit) / 10)
            return false;
        magnitude = magnitude * 10 + digit;
    }
    result = negative ? qint64(0 - magnitude) : qint64(magnitude);
    return true;
}

[[noreturn]] void notAnInteger(const QString& text)
{
    throw TQVL_ConvertError(QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text));
}

int toInt32(qint64 value, const QString& text)
{
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        notAnInteger(text);
    return int(value);
}

} // namespace

qint64 TQVL_XMLTag::ToInt64(const QString& text)
{
    qint64 value = 0;
    if (!parseInt64(reinterpret_cast<const char16_t*>(text.utf16()), text.size(), value))
        notAnInteger(text);
    return value;
}

qint64 TQVL_XMLTag::Utf8ToInt64(const char* text, qsizetype length)
{
    qint64 value = 0;
    if (!parseInt64(text, length, value))
        notAnInteger(TQVL_Encoding::FromUtf8(text, length));
    return value;
}

int TQVL_XMLTag::Utf8ToInteger(const char* text, qsizetype length)
{
    const qint64 value = Utf8ToInt64(text, length);
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        notAnInteger(TQVL_Encoding::FromUtf8(text, length));
    return int(value);
}

int TQVL_XMLTag::ToInteger(const QString& text)
{
    return toInt32(ToInt64(text), text);
}

int TQVL_XMLTag::AsInteger() const
{
    return ToInteger(Value);
}

qint64 TQVL_XMLTag::AsInt64() const
{
    return ToInt64(Value);
}

TQVL_DateTime TQVL_XMLTag::AsDateTime() const
{
    TQVL_DateTime result;
    if (!TQVL_DateTime::TryParse(Value, result))
        throw TQVL_ConvertError(QStringLiteral("'%1' ist kein gültiges Datum").arg(Value));
    return result;
}

void TQVL_XMLTag::SetDateTime(const TQVL_DateTime& value)
{
    Value = value.ToText();
}
