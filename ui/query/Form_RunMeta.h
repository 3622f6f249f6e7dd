#pragma once

#include "query/QVL_Query_HookHandle.h"
#include "query/QVL_Query_Hooks.h"
#include "ui/shell/FormMeta.h"

#include <QString>

class QIcon;
class QProgressBar;
class QPushButton;
class QToolButton;
class TQVL;
class TQVL_Query;

// Base of the screens a query or a play run shows in: the core's one query
// and its hooks, the success bar, the help page and the end of the run. The
// hooks go with the screen; leaving the screen ends the run (see EndRun).
class TFormRunMeta : public TFormMeta
{
    Q_OBJECT
public:
    TFormRunMeta(QWidget* parent, TQVL& core);
    ~TFormRunMeta() override;

    // The query this screen drives (the core's one query).
    TQVL_Query& Query() const;
    QString HelpPage() const { return helpPage; }

    // The success bar ("SpecialProgress1"), at 0 %.
    static QProgressBar* CreateSuccessBar(QWidget* parent);

    QProgressBar* SpecialProgress1 = nullptr;

protected:
    TQVL& core;

    // The query calls `hooks` until the screen goes or EndRun.
    void InstallHooks(TQVL_Query_Hooks hooks);
    // Whether the query still calls this screen's hooks.
    bool HoldsHooks() const { return hooks.Holds(); }
    // Takes the hooks out, stops a running query (a failed save of its
    // results is reported) or empties the pile a failed start left, and
    // closes the further units of a run over several units. Nothing when the
    // core went first, as at shutdown.
    void EndRun();
    // The success bar at the query's totals so far.
    void ShowSuccess();

    void SetHelpPage(const QString& page) { helpPage = page; }
    // "Hilfe": opens the help page.
    QPushButton* CreateHelpButton(int width);
    // A button of the bottom row, `width` x 26.
    QPushButton* CreateButton(const char* name, const QString& text, int width);
    // A flat tool button with `icon` at `iconSize`.
    QToolButton* CreateToolButton(const char* name, const QIcon& icon, int iconSize);

private:
    TQVL_Query_HookHandle hooks;
    QString helpPage;
};
