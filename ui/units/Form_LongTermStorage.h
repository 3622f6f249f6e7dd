#pragma once

#include "ui/shell/FormMetaButton.h"

#include <functional>

class QLabel;
class QToolButton;
class QTreeWidget;
class TQVL;

// The long-term storage screen: the storages of the documents folder with the
// number of their cards due today for the active user; opens the chosen
// storage as the active unit, and creates new storages.
class TFormLongTermStorage : public TFormMetaButton
{
    Q_OBJECT
public:
    // The rows are filled here already.
    TFormLongTermStorage(QWidget* parent, TQVL& engine);
    ~TFormLongTermStorage() override;

    // Rescans the storages folder and lists the storages directly below it.
    void Refresh();
    // "Auswählen": the focused storage becomes the active unit.
    void SelectStorage();
    // Shows the new-storage dialog modally, then refreshes.
    void NewStorage();
    // Shows the settings of the focused storage (without one, the first)
    // modally, then refreshes (the learning method decides which cards are due).
    void StorageSettings();

    // The cards of the storage `uid` that are due today in the active user's results; 0 without results.
    int DueCount(const QString& uid) const;

    // After a storage was opened: the main window switches to the main menu.
    std::function<void()> OnStorageChosen;
    // "Abbruch": the main window switches to the second main menu.
    std::function<void()> OnAbort;

    QTreeWidget* VST1 = nullptr;
    QToolButton* Button_NewStorage = nullptr;
    QToolButton* Button_StorageSettings = nullptr;
    // Shown instead of a choice while the folder holds no storage.
    QLabel* Label_Empty = nullptr;

private:
    // "Auswählen" only with a storage in focus.
    void updateSelectButton();
    void enableSettings();

    TQVL& core;
};
