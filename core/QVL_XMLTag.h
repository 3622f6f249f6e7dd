#pragma once

#include <QString>

#include <memory>
#include <vector>

class TQVL_DateTime;

// One element of the name/value tree every persisted object reads from and
// writes into. An element owns its children; the order of creation is the
// order in the file.
class TQVL_XMLTag
{
public:
    // A root element, without parent.
    explicit TQVL_XMLTag(QString name = {}, QString value = {});
    ~TQVL_XMLTag();
    TQVL_XMLTag(const TQVL_XMLTag&) = delete;
    TQVL_XMLTag& operator=(const TQVL_XMLTag&) = delete;

    // Appends a new child and returns it; the child is owned by this element.
    TQVL_XMLTag* AddChild(QString name, QString value = {});
    TQVL_XMLTag* AddBoolean(QString name, bool value);
    TQVL_XMLTag* AddInteger(QString name, qint64 value);

    TQVL_XMLTag* Parent() const { return parent; }
    void ReserveChildren(int count) { children.reserve(std::size_t(count)); }
    int ChildCount() const { return int(children.size()); }
    TQVL_XMLTag* Child(int index) const { return children[std::size_t(index)].get(); }

    // The child named exactly `name` (case-sensitive); of several, the last one; nullptr if none.
    TQVL_XMLTag* FindChild(const QString& name) const;
    // As FindChild, but a missing child raises an error naming it. Readers turn
    // that error into their own "not a valid file" message.
    TQVL_XMLTag& NeedChild(const QString& name) const;

    // True only for the exact text "true".
    bool AsBoolean() const { return Value == QLatin1String("true"); }
    void SetBoolean(bool value) { Value = value ? QStringLiteral("true") : QStringLiteral("false"); }
    // The value as a signed 32-bit decimal number; anything else raises TQVL_ConvertError.
    int AsInteger() const;
    qint64 AsInt64() const;
    void SetInteger(qint64 value) { Value = QString::number(value); }
    // Date-times in the stored German form (ISO 8601 accepted); other text raises TQVL_ConvertError.
    TQVL_DateTime AsDateTime() const;
    void SetDateTime(const TQVL_DateTime& value);

    // Strict conversions shared with code that reads numbers outside a tree.
    static int ToInteger(const QString& text);
    static qint64 ToInt64(const QString& text);
    // The same on UTF-8 text, as the parser holds it.
    static int Utf8ToInteger(const char* text, qsizetype length);
    static qint64 Utf8ToInt64(const char* text, qsizetype length);

    QString Name;
    QString Value;

private:
    TQVL_XMLTag(TQVL_XMLTag* parent, QString name, QString value);

    TQVL_XMLTag* parent = nullptr;
    std::vector<std::unique_ptr<TQVL_XMLTag>> children;
};
