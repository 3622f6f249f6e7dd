#pragma once

#include "core/QVL_Error.h"
#include "core/QVL_FileObject.h"
#include "core/QVL_XMLTag.h"

// The smallest file object: an identity and one text.
class NoteFile : public TQVL_FileObject
{
public:
    explicit NoteFile(bool guarded = false) { IntegrityGuard = guarded; }
    ~NoteFile() override
    {
        if (IsOpen)
            CloseFile();
    }

    void LoadFromXML(TQVL_XMLTag& tag) override
    {
        try {
            Uid = tag.NeedChild(QStringLiteral("uid")).Value;
            Text = tag.NeedChild(QStringLiteral("text")).Value;
        } catch (const TQVL_Error&) {
            throw TQVL_Error(QStringLiteral("Die Datei \"%1\" ist keine gültige Notiz!").arg(FileName));
        }
    }
    void SaveToXML(TQVL_XMLTag& tag) override
    {
        tag.AddChild(QStringLiteral("uid"), Uid);
        tag.AddChild(QStringLiteral("text"), Text);
    }

    QString Text;
};
