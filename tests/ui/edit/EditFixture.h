#pragma once

// The started main window over a fresh installation with the sample learner
// logged in, and helpers to make a unit of a kind, open it and reach its
// editor through the main menu as a learner does.
#include "app/QVL.h"
#include "content/QVL_Card_Voc.h"
#include "content/QVL_Unit.h"
#include "content/QVL_Unit_New.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "ui/edit/Form_Edit.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMessage.h"
#include "ui/shell/Form_MainMenu.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "users/QVL_User.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("SDL_AUDIODRIVER", "dummy");
        previousRunner = TFormDialogMeta::InstallModalRunner([this](QDialog& dialog) {
            if (auto* notice = qobject_cast<TFormMessage*>(&dialog))
                Notices << notice->Title();
            return runDialog ? runDialog(dialog) : 0;
        });
        window = std::make_unique<TMainForm>();
        window->resize(900, 760);
        window->show();
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->StartedUp(); }, 10000));
        window->Core().Users->GetActiveUser().Open(folders.Documents() + QStringLiteral("/Benutzer/Lernender.qxs"));
        ASSERT_TRUE(dialogs.Errors.isEmpty()) << dialogs.Errors.join('|').toStdString();
    }
    void TearDown() override
    {
        // Whatever a test left unsaved is dropped without a question.
        dialogs.ChoiceAnswers.assign(4, TDialogChoice::No);
        if (window)
            window->close();
        window.reset();
        TFormDialogMeta::InstallModalRunner(previousRunner);
    }

    TQVL& Core() const { return window->Core(); }
    TQVL_Unit& Unit() const { return Core().Units->GetActiveUnit(); }
    TFormMeta* Screen() const { return window->WindowManager().CurrentWindow(); }
    QString UnitsFolder() const { return folders.Documents() + QStringLiteral("/Lektionen"); }

    // A new unit of `typ` in the units folder, with a vocabulary card per
    // (foreign, home) pair; returns its path.
    QString MakeUnit(const QString& name, TQVL_CardType typ,
                     std::initializer_list<std::pair<const char*, const char*>> words = {})
    {
        TQVL_Unit_New created;
        created.Name = name;
        created.Typ = typ;
        created.LangCodeHome = QStringLiteral("ger");
        created.LangCodeForeign = QStringLiteral("eng");
        const QString path = created.Create(UnitsFolder());
        if (words.size() > 0) {
            TQVL_Unit unit;
            unit.Open(path);
            EXPECT_TRUE(unit.RequestWriteAccess());
            for (const auto& [foreign, home] : words) {
                auto* card = static_cast<TQVL_Card_Voc*>(unit.Cards->NewCard(typ == tSound ? tSound : tVoc));
                card->foreign1 = QString::fromUtf8(foreign);
                card->home1 = QString::fromUtf8(home);
            }
            unit.Save();
            unit.CloseFile();
        }
        return path;
    }
    void OpenUnit(const QString& path)
    {
        Unit().Open(path);
        window->ShowMainMenu();
    }
    // Chooses main-menu tile 5 with the mouse, as the learner does.
    template <class TEditor> TEditor* OpenEditor(bool expected = true)
    {
        auto* menu = dynamic_cast<TFormMainMenu*>(Screen());
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return nullptr;
        TKQ_ClickMatrix& tiles = *menu->KQ_ClickMatrix1;
        // The tiles are placed once the menu's layout ran.
        QTest::qWait(20);
        const QPoint centre = tiles.Items().Item(5)->Rect().center();
        // One click chooses the tile.
        QTest::mouseClick(&tiles, Qt::LeftButton, {}, centre);
        auto* editor = dynamic_cast<TEditor*>(Screen());
        if (expected) {
            EXPECT_NE(editor, nullptr) << (dialogs.Errors + dialogs.Informations + Notices).join('|').toStdString();
        }
        return editor;
    }
    // Types `text` key by key, as a keyboard would (QTest's key clicks know only ASCII).
    static void TypeText(QWidget* field, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(field, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(field, &release);
        }
    }
    static void Click(QPushButton* button)
    {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    // The meanings of the unit's cards as "foreign=home".
    static QStringList Words(const TQVL_Unit& unit)
    {
        QStringList words;
        for (int i = 0; i < unit.Cards->Count(); ++i)
            if (const auto* card = dynamic_cast<const TQVL_Card_Voc*>(unit.Cards->Card(i)))
                words << card->foreign1 + QLatin1Char('=') + card->home1;
        return words;
    }
    // The words of the unit file on disk.
    static QStringList WordsOnDisk(const QString& path)
    {
        TQVL_Unit unit;
        unit.Open(path);
        const QStringList words = Words(unit);
        unit.CloseFile();
        return words;
    }

    TestFolders folders;
    ScriptedDialogService dialogs;
    std::unique_ptr<TMainForm> window;
    QStringList Notices;
    // Drives dialogs other than notices; nothing by default.
    TFormDialogMeta::TModalRunner runDialog;

private:
    TFormDialogMeta::TModalRunner previousRunner;
};
