#pragma once

#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMessage.h"

#include <QStringList>

// Records the titles of the notices that would be shown modally; every other
// dialog is answered at once. Installed for its lifetime.
class NoticeRecorder
{
public:
    NoticeRecorder()
    {
        previous = TFormDialogMeta::InstallModalRunner([this](QDialog& dialog) {
            if (auto* notice = qobject_cast<TFormMessage*>(&dialog))
                Titles << notice->Title();
            return 0;
        });
    }
    ~NoticeRecorder() { TFormDialogMeta::InstallModalRunner(previous); }
    NoticeRecorder(const NoticeRecorder&) = delete;
    NoticeRecorder& operator=(const NoticeRecorder&) = delete;

    QStringList Titles;

private:
    TFormDialogMeta::TModalRunner previous;
};
