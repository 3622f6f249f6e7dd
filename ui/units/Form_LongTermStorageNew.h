#pragma once

#include "ui/shell/FormDialogMeta.h"

class QComboBox;
class TQVL;

// Creates the long-term storage for one foreign language (the home language
// is the one of the program options) and closes it again at once.
class TFormLongTermStorageNew : public TFormDialogMeta
{
    Q_OBJECT
public:
    // Fills the language list from the language-name table and preselects "Englisch".
    explicit TFormLongTermStorageNew(TQVL& engine, QWidget* parent = nullptr);
    ~TFormLongTermStorageNew() override;

    // "Ok": creates (or finds) the storage of the selected language and closes the dialog.
    void CreateStorage();

    QComboBox* ComboBox1 = nullptr;

private:
    TQVL& core;
};
