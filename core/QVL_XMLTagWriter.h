#pragma once

#include "core/QVL_XMLWriter.h"

// Writes elements as children of a tag, for callers that want the tree of an
// object rather than its file.
class TQVL_XMLTagWriter final : public TQVL_XMLWriter
{
public:
    // Elements are appended to the children of `parent`.
    explicit TQVL_XMLTagWriter(TQVL_XMLTag& parent) : current(&parent) {}

    void Begin(QLatin1String name) override;
    void End() override;
    void Text(QLatin1String name, const QString& value) override;
    void Integer(QLatin1String name, qint64 value) override;
    void Boolean(QLatin1String name, bool value) override;
    void DateTime(QLatin1String name, const TQVL_DateTime& value) override;
    void Tree(const TQVL_XMLTag& tag) override;

private:
    TQVL_XMLTag* current;
};
