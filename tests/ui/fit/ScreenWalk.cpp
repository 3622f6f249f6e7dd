#include "tests/ui/fit/ScreenWalk.h"

#include "ui/help/Form_Help.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Accessibility.h"
#include "ui/shell/FormDataModule.h"
#include "ui/shell/FormDialogMeta.h"
#include "ui/shell/FormMeta.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/KQ_ClickMatrix.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

namespace {

// Lets layouts settle and deferred work run. Deleting released screens is
// left out inside a modal dialog: its opener may still be on the stack.
void settle(bool deleteReleased)
{
    for (int i = 0; i < 3; ++i) {
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }
    if (deleteReleased)
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Commands a walk leaves alone: one ends the program, the other changes the window's size.
bool leftAlone(const QAction* action)
{
    return action->objectName() == QLatin1String("Action_Program_Exit") || action->isCheckable();
}

// Buttons a learner presses: no option switches, no parts of compound controls.
QList<QAbstractButton*> pressable(QWidget* surface)
{
    QList<QAbstractButton*> buttons;
    for (QAbstractButton* button : surface->findChildren<QAbstractButton*>()) {
        if (!button->isVisible() || !button->isEnabled() || qobject_cast<QRadioButton*>(button) ||
            qobject_cast<QCheckBox*>(button) || button->objectName().startsWith(QLatin1String("qt_")) ||
            qobject_cast<QTabBar*>(button->parentWidget()))
            continue;
        buttons.append(button);
    }
    return buttons;
}

QString buttonName(const QAbstractButton* button)
{
    return button->objectName().isEmpty() ? button->text() : button->objectName();
}

QString className(const QObject* object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

} // namespace

QString ScreenWalk::Step::Describe() const
{
    switch (Kind) {
    case Tile: return QStringLiteral("tile %1 of %2").arg(Index + 1).arg(Owner);
    case Button: return QStringLiteral("button %1").arg(Owner);
    case Command: return QStringLiteral("command %1").arg(Owner);
    }
    return {};
}

ScreenWalk::ScreenWalk(TMainForm& window, std::function<void()> prepareSituation)
    : Into(&own), main(window), prepare(std::move(prepareSituation))
{
    previousRunner = TFormDialogMeta::InstallModalRunner([this](QDialog& dialog) { return runDialog(dialog); });
}

ScreenWalk::~ScreenWalk()
{
    TFormDialogMeta::InstallModalRunner(previousRunner);
}

void ScreenWalk::Walk(int maxDepth)
{
    QList<QList<Step>> ways{{}};
    QSet<QString> explored;
    while (!ways.isEmpty()) {
        const QList<Step> way = ways.takeFirst();
        if (!replay(way))
            continue;
        const QString here = sightOfScreen();
        if (way.isEmpty()) {
            explored.insert(here);
            look(&main, here);
        }
        bool atHere = true;
        for (const Step& step : choices(way.isEmpty())) {
            if (!atHere && (!replay(way) || sightOfScreen() != here))
                break;
            bool done = perform(step);
            // An earlier choice may have changed the situation without leaving
            // the screen (closing the unit disables "Bearbeiten"): start over.
            if (!done && replay(way) && sightOfScreen() == here)
                done = perform(step);
            settle(true);
            lookAtWindows();
            const QString there = sightOfScreen();
            atHere = there == here;
            if (!done || explored.contains(there))
                continue;
            explored.insert(there);
            look(&main, there);
            if (way.size() + 1 < maxDepth)
                ways.append(way + QList<Step>{step});
        }
    }
    reset();
}

void ScreenWalk::reset()
{
    lookAtWindows();
    Guarded([this] { main.WindowManager().CloseWindow(); });
    settle(true);
    Guarded(prepare);
    Guarded([this] { main.ShowMainMenu(); });
    settle(true);
}

bool ScreenWalk::replay(const QList<Step>& way)
{
    reset();
    for (const Step& step : way) {
        if (!perform(step))
            return false;
        settle(true);
        lookAtWindows();
    }
    return true;
}

QList<ScreenWalk::Step> ScreenWalk::choices(bool withCommands) const
{
    QList<Step> found;
    if (TFormMeta* screen = main.WindowManager().CurrentWindow()) {
        QMap<QString, int> menus;
        for (TKQ_ClickMatrix* menu : screen->findChildren<TKQ_ClickMatrix*>()) {
            const int which = menus[menu->objectName()]++;
            if (menu->isVisible() && menu->isEnabled())
                for (int i = 0; i < menu->Items().Count(); ++i)
                    found.append({Step::Tile, menu->objectName() + QLatin1Char('#') + QString::number(which), i});
        }
        QMap<QString, int> names;
        for (QAbstractButton* button : pressable(screen)) {
            const QString name = buttonName(button);
            if (!name.isEmpty())
                found.append({Step::Button, name, names[name]++});
        }
    }
    if (withCommands)
        for (QAction* action : main.DataModule().findChildren<QAction*>())
            if (action->isEnabled() && !leftAlone(action))
                found.append({Step::Command, action->objectName(), 0});
    return found;
}

bool ScreenWalk::perform(const Step& step)
{
    if (step.Kind == Step::Command) {
        auto* action = main.DataModule().findChild<QAction*>(step.Owner);
        if (!action || !action->isEnabled())
            return false;
        action->trigger();
        return true;
    }
    TFormMeta* screen = main.WindowManager().CurrentWindow();
    if (!screen)
        return false;
    if (step.Kind == Step::Tile) {
        QMap<QString, int> menus;
        for (TKQ_ClickMatrix* menu : screen->findChildren<TKQ_ClickMatrix*>()) {
            const int which = menus[menu->objectName()]++;
            if (menu->objectName() + QLatin1Char('#') + QString::number(which) != step.Owner)
                continue;
            if (!menu->isVisible() || step.Index >= menu->Items().Count())
                return false;
            menu->SelectItem(menu->Items().Item(step.Index));
            return true;
        }
        return false;
    }
    int which = 0;
    for (QAbstractButton* button : pressable(screen))
        if (buttonName(button) == step.Owner && which++ == step.Index) {
            button->click();
            return true;
        }
    return false;
}

// The current screen and the program's frames shown on it, by class.
QString ScreenWalk::sightOfScreen() const
{
    TFormMeta* screen = main.WindowManager().CurrentWindow();
    if (!screen || !screen->isVisible())
        return QStringLiteral("(no screen)");
    QStringList parts;
    for (QWidget* child : screen->findChildren<QWidget*>()) {
        const QString name = className(child);
        if (child->isVisible() && (name.startsWith(QLatin1String("TForm")) || name.startsWith(QLatin1String("TFrame"))))
            parts.append(name);
    }
    parts.sort();
    parts.removeDuplicates();
    parts.prepend(className(screen));
    return parts.join(QLatin1Char('+'));
}

void ScreenWalk::look(QWidget* surface, const QString& sight, const QString& variant)
{
    Into->Sights.insert(sight);
    Into->Variants.insert(sight + variant);
    Into->Classes.insert(className(surface));
    for (QWidget* child : surface->findChildren<QWidget*>())
        if (child->isVisible())
            Into->Classes.insert(className(child));
    // FindTextMisfits shows every page of a tab widget in turn: what the other pages hold is seen too.
    for (QTabWidget* tabs : surface->findChildren<QTabWidget*>()) {
        if (!tabs->isVisible())
            continue;
        for (int i = 0; i < tabs->count(); ++i)
            if (QWidget* page = tabs->widget(i); page && tabs->isTabEnabled(i) && tabs->isTabVisible(i))
                for (QWidget* child : page->findChildren<QWidget*>())
                    if (child->isVisibleTo(page))
                        Into->Classes.insert(className(child));
    }
    for (const QString& missing : Accessibility::Incomplete(surface)) {
        const QString finding = sight + QStringLiteral(": ") + missing;
        if (!Into->Unnamed.contains(finding))
            Into->Unnamed.append(finding);
    }
    for (const TextMisfit& misfit : FindTextMisfits(surface))
        if (!Into->MisfitKeys.contains(misfit.Key())) {
            Into->MisfitKeys.insert(misfit.Key());
            Into->Misfits.append({sight, misfit});
        }
    if (!Into->PictureFolder.isEmpty()) {
        QString name = Into->PicturePrefix + sight + variant;
        name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]+")), QStringLiteral("-"));
        QDir().mkpath(Into->PictureFolder);
        surface->grab().save(Into->PictureFolder + QLatin1Char('/') + name + QStringLiteral(".png"));
    }
    if (!switching)
        lookAtSwitches(surface, sight);
}

// Radio buttons and check boxes show other parts of a sight (the page of click
// answers, a password field): each is turned, the sight looked at, and the
// switch turned back, so that the walk's situation stays as it was.
void ScreenWalk::lookAtSwitches(QWidget* surface, const QString& sight)
{
    switching = true;
    // A switch may rebuild part of the sight: the others are held weakly.
    QList<QPointer<QAbstractButton>> options;
    for (QAbstractButton* option : surface->findChildren<QAbstractButton*>())
        options.append(option);
    for (const QPointer<QAbstractButton>& option : options) {
        if (!option)
            continue;
        auto* radio = qobject_cast<QRadioButton*>(option);
        if ((!radio && !qobject_cast<QCheckBox*>(option)) || !option->isVisible() || !option->isEnabled() ||
            (radio && option->isChecked()))
            continue;
        QPointer<QAbstractButton> before;
        if (radio)
            for (QRadioButton* sibling :
                 option->parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly))
                if (sibling->isChecked())
                    before = sibling;
        option->click();
        settle(false);
        look(surface, sight,
             QStringLiteral("-") + (option->objectName().isEmpty() ? option->text() : option->objectName()));
        if (!option)
            continue;
        if (radio && before && before->isVisible() && before->isEnabled())
            before->click();
        else if (!radio && option->isVisible() && option->isEnabled())
            option->click();
        settle(false);
    }
    switching = false;
}

// Windows of their own (the help window) are looked at once and closed.
void ScreenWalk::lookAtWindows()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &main || !window->isVisible() || qobject_cast<QMenu*>(window) ||
            (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
            continue;
        const QString sight = className(window);
        if (!Into->Sights.contains(sight))
            look(window, sight);
        // The help window is only hidden: destroying it while the help engine
        // still indexes crashes now and then inside the engine's own thread.
        if (window == static_cast<QWidget*>(THelpService::Window()))
            window->hide();
        else
            window->close();
    }
}

// Every modal dialog and notice is shown, looked at, and its buttons pressed
// once (nested dialogs are looked at, not pressed through); then it is cancelled.
int ScreenWalk::runDialog(QDialog& dialog)
{
    ++dialogDepth;
    dialog.show();
    settle(false);
    const QString sight = className(&dialog);
    // A dialog shows other texts in other situations (a message instead of a
    // list): it is looked at each time, its buttons are pressed the first time.
    const bool first = !Into->Sights.contains(sight);
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->isVisible())
            texts << label->text();
    look(&dialog, sight, first ? QString() : QStringLiteral("-%1").arg(qHash(texts.join(QLatin1Char('|'))) % 10000));
    if (first && dialogDepth == 1) {
        // A list of categories beside a stack of pages (the program options): every page is looked at.
        for (QTreeWidget* categories : dialog.findChildren<QTreeWidget*>()) {
            const QList<QStackedWidget*> stacks = dialog.findChildren<QStackedWidget*>();
            if (!categories->isVisible() || stacks.size() != 1 ||
                categories->topLevelItemCount() != stacks.front()->count())
                continue;
            QTreeWidgetItem* shown = categories->currentItem();
            for (int i = 0; i < categories->topLevelItemCount(); ++i) {
                QTreeWidgetItem* item = categories->topLevelItem(i);
                if (item == shown)
                    continue;
                categories->setCurrentItem(item);
                settle(false);
                look(&dialog, sight, QStringLiteral("-") + item->text(0));
            }
            categories->setCurrentItem(shown);
            settle(false);
        }
        // A wizard shows its next page in the same dialog: its default button
        // is pressed while it leads to a new page, and each page is looked at.
        const auto pages = [&dialog] {
            QStringList shown;
            for (const QStackedWidget* stack : dialog.findChildren<QStackedWidget*>())
                shown << QString::number(stack->currentIndex());
            return shown.join(QLatin1Char(','));
        };
        for (int page = 0; page < 8 && !pages().isEmpty(); ++page) {
            const QList<QPushButton*> buttons = dialog.findChildren<QPushButton*>();
            const auto next = std::find_if(buttons.cbegin(), buttons.cend(), [](const QPushButton* button) {
                return button->isDefault() && button->isVisible() && button->isEnabled();
            });
            if (next == buttons.cend())
                break;
            const QString before = pages();
            (*next)->click();
            settle(false);
            if (!dialog.isVisible() || pages() == before)
                break;
            look(&dialog, sight, QStringLiteral("-page") + pages());
        }
        for (QAbstractButton* button : pressable(&dialog)) {
            if (!dialog.isVisible())
                break;
            if (button->isVisible() && button->isEnabled())
                button->click();
            settle(false);
        }
    }
    dialog.hide();
    --dialogDepth;
    return QDialog::Rejected;
}

QSet<QString> DeclaredWidgetClasses(const QString& uiFolder)
{
    static const QSet<QString> qtWidgets{
        QStringLiteral("QWidget"),     QStringLiteral("QDialog"),      QStringLiteral("QMainWindow"),
        QStringLiteral("QFrame"),      QStringLiteral("QScrollArea"),  QStringLiteral("QLabel"),
        QStringLiteral("QPushButton"), QStringLiteral("QToolButton"),  QStringLiteral("QTreeView"),
        QStringLiteral("QTreeWidget"), QStringLiteral("QListWidget"),  QStringLiteral("QListView"),
        QStringLiteral("QTableView"),  QStringLiteral("QTableWidget"), QStringLiteral("QTabWidget"),
        QStringLiteral("QLineEdit"),   QStringLiteral("QComboBox"),    QStringLiteral("QTextBrowser"),
        QStringLiteral("QTextEdit"),   QStringLiteral("QGraphicsView"), QStringLiteral("QStackedWidget")};
    static const QRegularExpression declaration(
        QStringLiteral("^class\\s+(\\w+)\\s*(?:final\\s*)?:\\s*public\\s+(\\w+)"),
        QRegularExpression::MultilineOption);
    QMap<QString, QString> baseOf;
    QStringList sources;
    QDirIterator files(uiFolder, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        if (path.endsWith(QLatin1String(".cpp"))) {
            sources.append(text);
            continue;
        }
        for (auto match = declaration.globalMatch(text); match.hasNext();) {
            const auto found = match.next();
            baseOf.insert(found.captured(1), found.captured(2));
        }
    }
    // Made somewhere: named in a source other than by its own members or as `Class::` alone.
    const auto made = [&sources](const QString& name) {
        const QRegularExpression use(QStringLiteral("\\b%1\\b(?!\\s*::)").arg(name));
        const QString ownConstructor = name + QStringLiteral("::") + name;
        return std::any_of(sources.cbegin(), sources.cend(), [&](const QString& text) {
            return !text.contains(ownConstructor) && use.match(text).hasMatch();
        });
    };
    QSet<QString> bases;
    for (const QString& base : std::as_const(baseOf))
        bases.insert(base);
    QSet<QString> widgets;
    for (auto it = baseOf.cbegin(); it != baseOf.cend(); ++it) {
        // A class others derive from is shown through them.
        if (bases.contains(it.key()))
            continue;
        QString base = it.value();
        for (int depth = 0; depth < 16 && baseOf.contains(base); ++depth)
            base = baseOf.value(base);
        if (qtWidgets.contains(base) && made(it.key()))
            widgets.insert(it.key());
    }
    return widgets;
}
