#pragma once

#include <QList>
#include <QString>

class QWidget;

// One text control whose text a learner cannot read completely, or that lies
// over a sibling.
struct TextMisfit
{
    QString Owner;   // class of the screen, frame or window the control belongs to
    QString Control; // object name (or class) with the name of its nearest named parent
    QString Text;
    QString Problem; // German-free short description for the test output

    // Identifies the misfit across repeated visits of the same screen.
    QString Key() const { return Owner + QLatin1Char('|') + Control + QLatin1Char('|') + Text + QLatin1Char('|') + Problem; }
};

// Checks every visible text control below `root` (root included): labels,
// push/tool buttons, radio buttons, check boxes, combo boxes, group box
// titles, tabs, header sections and the cells of the first rows of item views.
// A control fails when its text needs more room than its rectangle gives,
// when an ancestor cuts it off, or when it overlaps a visible sibling.
// Tab widgets are walked page by page.
QList<TextMisfit> FindTextMisfits(QWidget* root);
