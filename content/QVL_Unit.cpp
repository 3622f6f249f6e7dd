#include "content/QVL_Unit.h"

#include "core/QVL_Error.h"
#include "core/QVL_XMLStream.h"
#include "core/QVL_XMLTag.h"

#include <QDir>
#include <QFileInfo>

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
    // Read into locals first: a file that turns out to be broken changes nothing.
    try {
        const TQVL_XMLTag& header = tag.NeedChild(QStringLiteral("header"));
        QString uid = header.NeedChild(QStringLiteral("uid")).Value;
        QString externalFilesDir = header.NeedChild(QStringLiteral("externalfilesdir")).Value;
        const qint32 maxCardId = header.NeedChild(QStringLiteral("maxcardid")).AsInteger();
        QString langCodeHome = header.NeedChild(QStringLiteral("langcode_home")).Value;
        QString langCodeForeign = header.NeedChild(QStringLiteral("langcode_foreign")).Value;
        const TQVL_CardType typ = TypeOfName(header.NeedChild(QStringLiteral("typ")).Value);
        const TQVL_XMLTag* arrangementId = header.FindChild(QStringLiteral("arrangement_id"));

        auto cards = std::make_unique<TQVL_Card_Container>();
        cards->LoadFromXML(tag.NeedChild(QStringLiteral("cards")));
        cards->MaxCardId = maxCardId;

        Uid = std::move(uid);
        ExternalFilesDir = std::move(externalFilesDir);
        LangCodeHome = std::move(langCodeHome);
        LangCodeForeign = std::move(langCodeForeign);
        Typ = typ;
        // The next open replaces all content, so an old identifier does not
        // survive into a file that names none.
        ArrangementId = arrangementId ? arrangementId->Value : QString();
        Cards = std::move(cards);
    } catch (const TQVL_Error&) {
        throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist keine gültige Lektionsdatei!").arg(FileName));
    }
}

void TQVL_Unit::SaveToXML(TQVL_XMLTag& tag)
{
    saveHeader(tag);
    Cards->SaveToXML(*tag.AddChild(QStringLiteral("cards")));
}

void TQVL_Unit::WriteXML(TQVL_XMLStream& stream)
{
    TQVL_XMLTag head;
    saveHeader(head);
    stream.Tree(*head.Child(0));
    stream.Begin(QStringLiteral("cards"));
    for (int i = 0; i < Cards->Count(); ++i) {
        const TQVL_Card& card = *Cards->Card(i);
        TQVL_XMLTag element(card.ElementName());
        card.SaveToXML(element);
        stream.Tree(element);
    }
    stream.End();
}

void TQVL_Unit::saveHeader(TQVL_XMLTag& tag) const
{
    TQVL_XMLTag* header = tag.AddChild(QStringLiteral("header"));
    header->AddChild(QStringLiteral("uid"), Uid);
    header->AddInteger(QStringLiteral("cardcount"), Cards->Count());
    header->AddBoolean(QStringLiteral("externalfiles"), Cards->HasExternalFiles());
    header->AddChild(QStringLiteral("externalfilesdir"), ExternalFilesDir);
    header->AddInteger(QStringLiteral("maxcardid"), Cards->MaxCardId);
    header->AddChild(QStringLiteral("langcode_home"), LangCodeHome);
    header->AddChild(QStringLiteral("langcode_foreign"), LangCodeForeign);
    header->AddChild(QStringLiteral("typ"), NameOfType(Typ));
    header->AddChild(QStringLiteral("arrangement_id"), ArrangementId);
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
