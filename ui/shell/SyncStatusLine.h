#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class QLabel;
class TQVL;
class TSyncDriver;

// The sync's line in the main window's unit bar: when the profile was last
// synchronised, that the shared folder is out of reach and how many answers
// wait for it, or the progress of a run. Hidden while sync is off. Kept up
// to date by the driver's changes and a timer (the minutes go on).
class TSyncStatusLine : public QObject
{
    Q_OBJECT
public:
    TSyncStatusLine(TQVL& core, TSyncDriver& driver, QLabel* label);

    void Refresh();
    // How often the line is written anew.
    static constexpr int IntervalMs = 20000;

private:
    TQVL& core;
    // Goes before the window's widgets do.
    QPointer<TSyncDriver> driver;
    QLabel* label;
    QTimer timer;
    // The review log's size when its waiting answers were last counted: unchanged, not counted again.
    qint64 countedSize = -1;
    qint64 countedPublished = -1;
};
