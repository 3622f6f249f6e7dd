#pragma once

#include "content/QVL_Card_Type.h"
#include "core/QVL_XMLElement.h"

#include <QLatin1String>
#include <QString>

#include <memory>

class TQVL_XMLTag;
class TQVL_XMLWriter;

// One item to learn, kept in the card list of a unit and written as one
// element of the unit file. This base class is also the information card: it
// has nothing but its identifier. Each kind reads and writes its own children
// and decides for itself when two cards are the same while units are merged.
class TQVL_Card
{
public:
    // An information card.
    TQVL_Card() : CardType(tInfo) {}
    virtual ~TQVL_Card();

    // Reads the children of the card's element. Every child is optional; a
    // missing one leaves its field as it is. A value that is not a number where
    // one is expected raises an error.
    virtual void LoadFromXML(const TQVL_XMLElement& element);
    // Writes every child, in file order, into the card's open element.
    virtual void WriteXML(TQVL_XMLWriter& writer) const;
    // The same into the card's (empty) element of a tag tree.
    void SaveToXML(TQVL_XMLTag& tag) const;
    // Whether this card is the same as `other` (`identical`) or resembles it
    // (`identical` false). Cards of different kinds never match.
    virtual bool Matches(const TQVL_Card& other, bool identical) const;
    // A new card of the same kind with the same content and identifier.
    virtual std::unique_ptr<TQVL_Card> Clone() const;

    // An empty card of `kind`; an unknown kind gives an information card.
    static std::unique_ptr<TQVL_Card> CreateCard(int kind);
    // The kind an element name stands for; 0 (information) when unknown.
    static int CardKindOfName(QStringView name);
    static int CardKindOfElement(const TQVL_XMLElement& element);
    // The element name of a kind; "info" for an unknown kind.
    static QString NameOfKind(int kind);
    static QLatin1String KindName(int kind);

    // The element name this card is written under.
    QString ElementName() const { return NameOfKind(CardType); }

    const TQVL_CardType CardType;
    // Identifier within the unit; query results refer to it.
    qint32 Uid = 0;
    // Set by picture cards when they read a picture file name; editors that
    // give a card a picture set it as well. Units write it as "externalfiles".
    bool HasExternalFile = false;

protected:
    // Each kind's class passes its own kind, so CardType always tells the class.
    explicit TQVL_Card(TQVL_CardType cardType) : CardType(cardType) {}
    TQVL_Card(const TQVL_Card&) = default;

    // Uid from its element, when there is one.
    void readUid(const TQVL_XMLElement& uid);
};
