#pragma once

#include "ui/shell/FormDialogMeta.h"

class QLabel;
class TQVL_System;

// "Über Quorvel": the program version and the sound system in use.
class TFormAboutQuorvel : public TFormDialogMeta
{
    Q_OBJECT
public:
    explicit TFormAboutQuorvel(TQVL_System& system, QWidget* parent = nullptr);

    // What "Verwendetes SoundSystem:" shows for `system`.
    static QString SoundSystemText(TQVL_System& system);

    QLabel* Label_Heading1 = nullptr;
    QLabel* Label_Heading2 = nullptr;
    QLabel* Label_Version = nullptr;
    QLabel* Label_SoundSystem = nullptr;
};
