#include "content/QVL_Card_Pic.h"

#include "core/QVL_XMLTag.h"

TQVL_Card_Pic::TQVL_Card_Pic() : TQVL_Card(tPic), clickareas(std::make_unique<TQVL_Card_Pic_Clickareas>()) {}

TQVL_Card_Pic::~TQVL_Card_Pic() = default;

TQVL_Card_Pic::TQVL_Card_Pic(const TQVL_Card_Pic& other)
    : TQVL_Card(other), question(other.question), answer_typ(other.answer_typ), answer_text(other.answer_text),
      picture_filename(other.picture_filename), picture_shadow(other.picture_shadow),
      clickareas(std::make_unique<TQVL_Card_Pic_Clickareas>(*other.clickareas))
{
}

void TQVL_Card_Pic::LoadFromXML(const TQVL_XMLTag& tag)
{
    enum Element : int
    {
        uid,
        questionText,
        answerPart,
        fileName,
        shadow,
        count
    };
    static const QLatin1String names[count] = {QLatin1String("uid"), QLatin1String("question"),
                                               QLatin1String("answer"), QLatin1String("picture_filename"),
                                               QLatin1String("picture_shadow")};
    const TQVL_XMLTag* found[count];
    FindChildren(tag, names, count, found);
    readUid(found[uid]);
    if (found[questionText])
        question = found[questionText]->Value;
    if (const TQVL_XMLTag* answer = found[answerPart]) {
        if (const TQVL_XMLTag* t = answer->FindChild(QStringLiteral("typ")))
            answer_typ = quint8(t->AsInteger()); // one byte: higher bits are dropped
        if (const TQVL_XMLTag* t = answer->FindChild(QStringLiteral("text")))
            answer_text = t->Value;
        if (const TQVL_XMLTag* t = answer->FindChild(QStringLiteral("clickareas")))
            clickareas->LoadFromXML(*t);
    }
    if (found[fileName])
        picture_filename = found[fileName]->Value;
    if (found[shadow])
        picture_shadow = found[shadow]->AsBoolean();
    HasExternalFile = !picture_filename.isEmpty();
}

void TQVL_Card_Pic::SaveToXML(TQVL_XMLTag& tag) const
{
    tag.AddInteger(QStringLiteral("uid"), Uid);
    tag.AddChild(QStringLiteral("question"), question);
    TQVL_XMLTag* answer = tag.AddChild(QStringLiteral("answer"));
    answer->AddInteger(QStringLiteral("typ"), answer_typ);
    if (answer_typ == 0)
        answer->AddChild(QStringLiteral("text"), answer_text);
    else if (answer_typ == 1)
        clickareas->SaveToXML(*answer->AddChild(QStringLiteral("clickareas")));
    tag.AddChild(QStringLiteral("picture_filename"), picture_filename);
    if (!picture_shadow)
        tag.AddBoolean(QStringLiteral("picture_shadow"), false);
}

bool TQVL_Card_Pic::Matches(const TQVL_Card& other, bool identical) const
{
    if (other.CardType != CardType)
        return false;
    const auto& card = static_cast<const TQVL_Card_Pic&>(other);
    if (identical)
        return question == card.question && answer_text == card.answer_text &&
               picture_filename == card.picture_filename && clickareas->Count() == card.clickareas->Count();
    return (!question.isEmpty() && question == card.question) ||
           (!answer_text.isEmpty() && answer_text == card.answer_text);
}

std::unique_ptr<TQVL_Card> TQVL_Card_Pic::Clone() const
{
    return std::unique_ptr<TQVL_Card>(new TQVL_Card_Pic(*this));
}
