// Walks the screens a learner reaches from the menus, as a screen-reader user
// would (choosing tiles through their accessible press action), and lists every
// control that would be announced without a name or a description.
#include "app/QVL.h"
#include "tests/support/ScriptedDialogService.h"
#include "tests/support/TestFolders.h"
#include "ui/help/Form_Help.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Accessibility.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMeta.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"
#include "ui/users/Form_UsersSelect.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <iostream>
#include <set>

namespace {

QString screenName(const QWidget* widget)
{
    return widget ? QString::fromLatin1(widget->metaObject()->className()) : QStringLiteral("-");
}

// Chooses the tile as a screen reader does: through the tile's press action.
bool pressTile(TKQ_ClickMatrix* menu, int index)
{
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(menu);
    QAccessibleInterface* tile = list ? list->child(index) : nullptr;
    QAccessibleActionInterface* action = tile ? tile->actionInterface() : nullptr;
    if (!action)
        return false;
    action->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

class ScreenWalk
{
public:
    ScreenWalk()
    {
        previous = TFormDialogMeta::InstallModalRunner([this](QDialog& dialog) {
            note(&dialog);
            return 0;
        });
    }
    ~ScreenWalk() { TFormDialogMeta::InstallModalRunner(previous); }

    // Records what is missing on `root` once per screen class.
    void note(QWidget* root)
    {
        const QString name = screenName(root);
        if (!seen.insert(name).second)
            return;
        for (const QString& missing : Accessibility::Incomplete(root))
            Findings << name + QStringLiteral(": ") + missing;
    }
    void noteCurrent(TMainForm& window)
    {
        QTest::qWait(30);
        if (TFormHelp* help = THelpService::Window())
            note(help);
        const QString current = screenName(window.WindowManager().CurrentWindow());
        if (seen.count(current))
            return;
        seen.insert(current);
        for (const QString& missing : Accessibility::Incomplete(&window))
            Findings << current + QStringLiteral(" im Hauptfenster: ") + missing;
    }

    QStringList Findings;
    std::set<QString> seen;

private:
    TFormDialogMeta::TModalRunner previous;
};

} // namespace

TEST(Accessibility, EveryScreenNamesAndDescribesEveryControl)
{
    qputenv("SDL_AUDIODRIVER", "dummy");
    TestFolders folders;
    ScriptedDialogService dialogs;
    ScreenWalk walk;
    TMainForm window;
    window.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.StartedUp(); }, 10000));
    walk.noteCurrent(window); // the user selection

    auto* selection = qobject_cast<TFormUsersSelect*>(window.WindowManager().CurrentWindow());
    ASSERT_NE(selection, nullptr);
    int lernender = -1;
    for (int i = 0; i < selection->KQ_ClickMatrix1->Items().Count(); ++i)
        if (selection->KQ_ClickMatrix1->Items().Item(i)->Caption() == QLatin1String("Lernender"))
            lernender = i;
    ASSERT_TRUE(pressTile(selection->KQ_ClickMatrix1, lernender));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.Core().Users->HasActiveUser(); }, 5000));
    window.Core().Units->GetActiveUnit().Open(folders.Documents() +
                                              QStringLiteral("/Lektionen/Englisch - Grundwortschatz.qxu"));

    // Every tile of every menu screen, breadth first, from the main menu; each
    // path starts again at the main menu, so that a screen is reached as the learner reaches it.
    std::vector<std::vector<int>> pending{{}};
    std::set<QString> menusWalked;
    while (!pending.empty()) {
        const std::vector<int> path = pending.front();
        pending.erase(pending.begin());
        window.ShowMainMenu();
        QTest::qWait(30);
        bool reached = true;
        for (const int index : path) {
            TFormMeta* screen = window.WindowManager().CurrentWindow();
            auto* menu = screen ? screen->findChild<TKQ_ClickMatrix*>() : nullptr;
            if (!menu || index >= menu->Items().Count() || !pressTile(menu, index)) {
                reached = false;
                break;
            }
            QTest::qWait(30);
        }
        if (!reached || !window.isVisible())
            continue;
        walk.noteCurrent(window);
        TFormMeta* screen = window.WindowManager().CurrentWindow();
        auto* menu = screen ? screen->findChild<TKQ_ClickMatrix*>() : nullptr;
        if (!menu || path.size() >= 3 || !menusWalked.insert(screenName(screen)).second)
            continue;
        for (int i = 0; i < menu->Items().Count(); ++i) {
            // Leaving the program or the user ends the walk, not a screen.
            const QString caption = menu->Items().Item(i)->Caption();
            if (caption.contains(QStringLiteral("beenden")) || caption.contains(QStringLiteral("abmelden")))
                continue;
            std::vector<int> next = path;
            next.push_back(i);
            pending.push_back(next);
        }
    }
    // The commands of the menu bar that open a screen or a dialog.
    for (QAction* action : window.DataModule().Actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("Action_Program_Exit") || name == QLatin1String("Action_UsersSelect") ||
            name == QLatin1String("Action_User_Close") || name == QLatin1String("Action_Unit_Close") ||
            name == QLatin1String("Action_Program_Fullscreen") || !action->isEnabled())
            continue;
        window.ShowMainMenu();
        action->trigger();
        walk.noteCurrent(window);
    }
    THelpService::CloseHelpWindow();

    EXPECT_GE(walk.seen.size(), 6u) << "the walk reached too few screens";
    EXPECT_TRUE(walk.Findings.isEmpty()) << walk.Findings.join(QLatin1Char('\n')).toStdString();
    std::cout << "screens walked: " << QStringList(walk.seen.begin(), walk.seen.end()).join(QStringLiteral(", ")).toStdString()
              << std::endl;
    window.close();
}

// The tile menu tells a screen reader its tiles: names, places and a press action.
TEST(Accessibility, TheTileMenuReportsItsTilesAsChildren)
{
    TKQ_ClickMatrix menu;
    menu.SetItemWidth(120);
    menu.SetItemHeight(40);
    menu.resize(400, 200);
    menu.Items().Add(QStringLiteral("Vokabeln abfragen"));
    menu.Items().Add(QStringLiteral("Statistik"))->SetEnabled(false);
    int chosen = -1;
    menu.onSelectItem = [&](TKQ_ClickMatrixItem* item) { chosen = item ? item->Index() : -2; };
    menu.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));

    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&menu);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    ASSERT_EQ(list->childCount(), 2);
    QAccessibleInterface* second = list->child(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(QAccessible::Name), QStringLiteral("Statistik"));
    EXPECT_FALSE(second->text(QAccessible::Description).isEmpty());
    EXPECT_TRUE(second->state().disabled);
    EXPECT_EQ(list->indexOfChild(second), 1);
    EXPECT_EQ(second->parent(), list);
    const QRect tile = menu.Items().Item(1)->Rect();
    EXPECT_EQ(second->rect(), QRect(menu.mapToGlobal(tile.topLeft()), tile.size()));
    EXPECT_EQ(list->childAt(second->rect().center().x(), second->rect().center().y()), second);

    second->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(list->focusChild(), second);

    menu.Items().Clear();
    EXPECT_EQ(list->childCount(), 0);
    EXPECT_FALSE(second->isValid()) << "a tile that is gone is no longer valid";
}

// Controls get their names from what stands beside them; what a screen names
// itself stays.
TEST(Accessibility, NamesComeFromTheLabelsBesideTheControls)
{
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* row = new QHBoxLayout;
    layout->addLayout(row);
    row->addWidget(new QLabel(QStringLiteral("&Name:")));
    auto* name = new QLineEdit;
    row->addWidget(name);
    auto* search = new QLineEdit;
    search->setPlaceholderText(QStringLiteral("Suchen"));
    layout->addWidget(search);
    auto* own = new QLineEdit;
    own->setAccessibleName(QStringLiteral("Eigener Name"));
    layout->addWidget(own);
    auto* nothing = new QLineEdit;
    nothing->setObjectName(QStringLiteral("Edit_Nothing"));
    layout->addWidget(nothing);
    layout->addWidget(new QPushButton(QStringLiteral("OK")));

    Accessibility::Describe(&dialog, QStringLiteral("Profil bearbeiten"));
    EXPECT_EQ(name->accessibleName(), QStringLiteral("Name"));
    EXPECT_EQ(search->accessibleName(), QStringLiteral("Suchen"));
    EXPECT_EQ(own->accessibleName(), QStringLiteral("Eigener Name"));
    EXPECT_EQ(name->accessibleDescription(), QStringLiteral("Profil bearbeiten"));
    EXPECT_EQ(Accessibility::Incomplete(&dialog), QStringList{QStringLiteral("Edit_Nothing (QLineEdit): ohne Namen")});
}
