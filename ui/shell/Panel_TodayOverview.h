#pragma once

#include <QFrame>
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QVBoxLayout;
class TQVL;

// The day at a glance beside the main menu's tiles: today's answers and
// minutes, the row of days in a row, the lesson queried last, and one button
// per long-term storage with the cards due today and tomorrow. It only shows;
// the screen that holds it decides what a chosen storage starts.
class TPanelTodayOverview : public QFrame
{
    Q_OBJECT
public:
    TPanelTodayOverview(QWidget* parent, TQVL& core);

    // Reads the figures of the logged-in learner again; empty without one.
    void Refresh();

    // The storage file the learner chose.
    std::function<void(const QString& path)> OnStorageChosen;
    // The learner asked for the list of problem words.
    std::function<void()> OnProblemWordsChosen;

    QLabel* Label_Today = nullptr;
    QLabel* Label_Streak = nullptr;
    QLabel* Label_LastLesson = nullptr;
    QLabel* Label_NoStorage = nullptr;
    QPushButton* Button_ProblemWords = nullptr;
    // One per storage, those with the most due today first (up to four).
    QList<QPushButton*> StorageButtons;

    // "Englisch: 12 heute, 3 morgen".
    // A paused storage names the day it is back instead of its due cards.
    static QString StorageText(const QString& name, int dueToday, int dueTomorrow, const QString& pausedUntil = {});

private:
    void clearStorages();
    void addStorage(const QString& name, const QString& path, int dueToday, int dueTomorrow,
                    const QString& pausedUntil);

    TQVL& core;
    QVBoxLayout* storageLayout = nullptr;
};
