#include "content/QVL_Card_Pic.h"

#include "core/QVL_XMLElement.h"
#include "core/QVL_XMLWriter.h"

using namespace Qt::Literals::StringLiterals;

TQVL_Card_Pic::TQVL_Card_Pic() : TQVL_Card(tPic), clickareas(std::make_unique<TQVL_Card_Pic_Clickareas>()) {}

TQVL_Card_Pic::~TQVL_Card_Pic() = default;

TQVL_Card_Pic::TQVL_Card_Pic(const TQVL_Card_Pic& other)
    : TQVL_Card(other), question(other.question), answer_typ(other.answer_typ), answer_text(other.answer_text),
      picture_filename(other.picture_filename), picture_shadow(other.picture_shadow),
      clickareas(std::make_unique<TQVL_Card_Pic_Clickareas>(*other.clickareas))
{
}

void TQVL_Card_Pic::LoadFromXML(const TQVL_XMLElement& element)
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
    static const QLatin1String names[count] = {"uid"_L1, "question"_L1, "answer"_L1, "picture_filename"_L1,
                                               "picture_shadow"_L1};
    TQVL_XMLElement found[count];
    element.FindChildren(names, count, found);
    readUid(found[uid]);
    if (found[questionText])
        question = found[questionText].Value();
    if (const TQVL_XMLElement answer = found[answerPart]) {
        if (const TQVL_XMLElement t = answer.FindChild("typ"_L1))
            answer_typ = quint8(t.AsInteger()); // one byte: higher bits are dropped
        if (const TQVL_XMLElement t = answer.FindChild("text"_L1))
            answer_text = t.Value();
        if (const TQVL_XMLElement t = answer.FindChild("clickareas"_L1))
            clickareas->LoadFromXML(t);
    }
    if (found[fileName])
        picture_filename = found[fileName].Value();
    if (found[shadow])
        picture_shadow = found[shadow].AsBoolean();
    HasExternalFile = !picture_filename.isEmpty();
}

void TQVL_Card_Pic::WriteXML(TQVL_XMLWriter& writer) const
{
    writer.Integer("uid"_L1, Uid);
    writer.Text("question"_L1, question);
    writer.Begin("answer"_L1);
    writer.Integer("typ"_L1, answer_typ);
    if (answer_typ == 0)
        writer.Text("text"_L1, answer_text);
    else if (answer_typ == 1) {
        writer.Begin("clickareas"_L1);
        clickareas->WriteXML(writer);
        writer.End();
    }
    writer.End();
    writer.Text("picture_filename"_L1, picture_filename);
    if (!picture_shadow)
        writer.Boolean("picture_shadow"_L1, false);
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
