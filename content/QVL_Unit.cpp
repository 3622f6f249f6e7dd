#include "content/QVL_Unit.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLTag.h"
#include "core/QVL_XMLTagWriter.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

TQVL_Unit::TQVL_Unit() : Cards(std::make_unique<TQVL_Card_Container>()) {}

TQVL_Unit::~TQVL_Unit() = default;

TQVL_CardType TQVL_Unit::TypeOfName(QStringView name)
{
    if (const std::optional<TQVL_CardType> type = TQVL_CardTypes::OfStoredName(name))
        return *type;
    throw TQVL_Error(QStringLiteral("Unit XMLStr not registered"));
}

QString TQVL_Unit::NameOfType(TQVL_CardType type)
{
    if (!TQVL_CardTypes::IsValid(type))
        throw TQVL_Error(QStringLiteral("Unit XMLStr not registered"));
    return TQVL_CardTypes::StoredName(type);
}

void TQVL_Unit::LoadFromXML(TQVL_XMLTag& tag)
{
    ReadXML(tag);
}

void TQVL_Unit::ReadXML(const TQVL_XMLElement& root)
{
    // Read into locals first: a file that turns out to be broken changes nothing.
    try {
        const TQVL_XMLElement header = root.NeedChild("header"_L1);
        QString uid = header.NeedChild("uid"_L1).Value();
        QString externalFilesDir = header.NeedChild("externalfilesdir"_L1).Value();
        const qint32 maxCardId = header.NeedChild("maxcardid"_L1).AsInteger();
        QString langCodeHome = header.NeedChild("langcode_home"_L1).Value();
        QString langCodeForeign = header.NeedChild("langcode_foreign"_L1).Value();
        const TQVL_CardType typ = TypeOfName(header.NeedChild("typ"_L1).Value());
        const TQVL_XMLElement arrangementId = header.FindChild("arrangement_id"_L1);

        auto cards = std::make_unique<TQVL_Card_Container>();
        cards->LoadFromXML(root.NeedChild("cards"_L1));
        cards->MaxCardId = maxCardId;

        Uid = std::move(uid);
        ExternalFilesDir = std::move(externalFilesDir);
        LangCodeHome = std::move(langCodeHome);
        LangCodeForeign = std::move(langCodeForeign);
        Typ = typ;
        // The next open replaces all content, so an old identifier does not
        // survive into a file that names none.
        ArrangementId = arrangementId ? arrangementId.Value() : QString();
        Cards = std::move(cards);
    } catch (const TQVL_Error&) {
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist keine gültige Lektionsdatei!").arg(FileName));
    }
}

void TQVL_Unit::SaveToXML(TQVL_XMLTag& tag)
{
    TQVL_XMLTagWriter writer(tag);
    WriteXML(writer);
}

void TQVL_Unit::WriteXML(TQVL_XMLWriter& writer)
{
    writer.Begin("header"_L1);
    writer.Text("uid"_L1, Uid);
    writer.Integer("cardcount"_L1, Cards->Count());
    writer.Boolean("externalfiles"_L1, Cards->HasExternalFiles());
    writer.Text("externalfilesdir"_L1, ExternalFilesDir);
    writer.Integer("maxcardid"_L1, Cards->MaxCardId);
    writer.Text("langcode_home"_L1, LangCodeHome);
    writer.Text("langcode_foreign"_L1, LangCodeForeign);
    writer.Text("typ"_L1, NameOfType(Typ));
    writer.Text("arrangement_id"_L1, ArrangementId);
    writer.End();
    writer.Begin("cards"_L1);
    Cards->WriteXML(writer);
    writer.End();
}

bool TQVL_Unit::SameLanguages(const TQVL_Unit& other) const
{
    return LangCodeHome == other.LangCodeHome && LangCodeForeign == other.LangCodeForeign;
}

bool TQVL_Unit::FitsQueryWith(const TQVL_Unit& other) const
{
    if (!SameLanguages(other) || Typ != other.Typ)
        return false;
    return Typ != tGrammar || ArrangementId == other.ArrangementId;
}

QString TQVL_Unit::ExternalFilesFolder() const
{
    const QString unitFolder = FileName.isEmpty() ? QString() : QFileInfo(FileName).absolutePath();
    if (ExternalFilesDir.isEmpty())
        return unitFolder;
    if (QDir::isAbsolutePath(ExternalFilesDir) || unitFolder.isEmpty())
        return QDir::cleanPath(ExternalFilesDir);
    return QDir::cleanPath(unitFolder + QLatin1Char('/') + ExternalFilesDir);
}

QString TQVL_Unit::ExternalFilePath(const QString& fileName) const
{
    if (fileName.isEmpty() || QDir::isAbsolutePath(fileName))
        return fileName;
    const QString folder = ExternalFilesFolder();
    return folder.isEmpty() ? fileName : folder + QLatin1Char('/') + fileName;
}
