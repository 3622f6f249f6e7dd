#pragma once

#include "tests/ui/fit/TextFit.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <functional>

class QWidget;
class TMainForm;

// Walks the running program the way a curious learner would: from the main
// menu it chooses every tile, presses every button and triggers every command,
// and follows every screen, dialog, notice and window that appears, breadth
// first, replaying the way from the main menu for each further choice. Each
// new sight (a screen together with the frames shown on it, a dialog, a window)
// is checked with FindTextMisfits, once more with each of its option switches
// turned (they show other parts); nothing is listed by hand.
class ScreenWalk
{
public:
    // `prepare` brings the program into the situation the walk starts from; it
    // runs before every replay, because choices may log out or close the unit.
    ScreenWalk(TMainForm& window, std::function<void()> prepare);
    ~ScreenWalk();

    // Walks every way from the main menu, up to `maxDepth` choices deep.
    void Walk(int maxDepth = 6);

    struct Found
    {
        QString Sight; // where it was seen: screen class and its frames, or dialog class
        TextMisfit Misfit;
    };
    // Shared across walks, so that several situations add up.
    struct Record
    {
        QList<Found> Misfits;
        QSet<QString> MisfitKeys;
        // Class names of every widget seen on a checked sight.
        QSet<QString> Classes;
        QSet<QString> Sights;
        // Every sight with the variant it was looked at in ("TFormOptions-Synchronisation").
        QSet<QString> Variants;
        // Controls a screen reader would announce without a name or a
        // description, as "<sight>: <control>: <what is missing>".
        QStringList Unnamed;
        // When set, a picture of each new sight goes into this folder.
        QString PictureFolder;
        QString PicturePrefix;
    };
    Record* Into = nullptr;

    struct Step
    {
        enum What { Tile, Button, Command } Kind;
        QString Owner; // tile menu, button or command name
        int Index = 0; // tile index, or which of the equally named buttons
        QString Describe() const;
    };

private:
    void reset();
    bool replay(const QList<Step>& path);
    bool perform(const Step& step);
    QList<Step> choices(bool withCommands) const;
    QString sightOfScreen() const;
    // `variant` tells pictures of the same sight with other texts apart.
    void look(QWidget* surface, const QString& sight, const QString& variant = {});
    void lookAtSwitches(QWidget* surface, const QString& sight);
    void lookAtWindows();
    int runDialog(class QDialog& dialog);

    TMainForm& main;
    std::function<void()> prepare;
    Record own;
    std::function<int(class QDialog&)> previousRunner;
    int dialogDepth = 0;
    bool switching = false;
};

// Every widget class the program's own headers declare below `uiFolder` that
// no other class there derives from and that some source there makes (named
// other than as `Class::`): each of them must be seen somewhere.
QSet<QString> DeclaredWidgetClasses(const QString& uiFolder);
