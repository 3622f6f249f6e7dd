#pragma once

#include "content/QVL_Card_Container.h"
#include "content/QVL_Card_Type.h"
#include "core/QVL_FileObject.h"

#include <memory>

// A unit (a lesson file, ".qxu"): a header with the kind of the unit and its
// pair of languages, then the cards. Long-term storages are units of kind
// tLongTermStorage. The unit owns its card list. Owners close an open unit
// before they release it.
class TQVL_Unit : public TQVL_FileObject
{
public:
    TQVL_Unit();
    ~TQVL_Unit() override;

    // Reads header and cards. Any fault of the file (a missing required
    // element, a number that is not one, an unknown kind, a broken card)
    // raises "Die Datei "<FileName>" ist keine gültige Lektionsdatei!" and
    // leaves the unit as it was.
    void LoadFromXML(TQVL_XMLTag& tag) override;
    void SaveToXML(TQVL_XMLTag& tag) override;
    // The same as LoadFromXML, straight from the parsed file, so that a large
    // unit never exists as a tag tree.
    void ReadXML(const TQVL_XMLElement& root) override;
    // The content SaveToXML gives, each card written as it comes.
    void WriteXML(TQVL_XMLWriter& writer) override;

    // The unit kind of a header "typ" name (exact case); raises "Unit XMLStr
    // not registered" for any other name.
    static TQVL_CardType TypeOfName(QStringView name);
    // The header "typ" name of a unit kind.
    static QString NameOfType(TQVL_CardType type);

    // The folder of the unit's pictures and sounds: ExternalFilesDir when set
    // (a relative one taken from the unit file's folder), else the folder of
    // the unit file.
    QString ExternalFilesFolder() const;
    // The full path of an external file named on a card.
    QString ExternalFilePath(const QString& fileName) const;

    // Both units teach the same pair of languages (codes compared exactly).
    bool SameLanguages(const TQVL_Unit& other) const;
    // A multi-unit query may take both together: the same languages and kind,
    // and for grammar the same card arrangement, since the grammar window lays
    // every card out with the one arrangement of the active unit.
    bool FitsQueryWith(const TQVL_Unit& other) const;

    std::unique_ptr<TQVL_Card_Container> Cards;
    QString ExternalFilesDir;
    TQVL_CardType Typ = tInfo;
    // For grammar units: the Uid of the card arrangement that lays the cards out.
    QString ArrangementId;
    QString LangCodeHome;
    QString LangCodeForeign;

};
