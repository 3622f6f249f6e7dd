#include "ui/query/Form_RunMeta.h"

#include "app/QVL.h"
#include "app/QVL_EndRun.h"
#include "query/QVL_Query.h"
#include "ui/help/HelpService.h"
#include "ui/shell/Guarded.h"

#include <QIcon>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

TFormRunMeta::TFormRunMeta(QWidget* parent, TQVL& qvl) : TFormMeta(parent), core(qvl)
{
    SpecialProgress1 = CreateSuccessBar(Content());
}

TFormRunMeta::~TFormRunMeta() = default;

QProgressBar* TFormRunMeta::CreateSuccessBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QStringLiteral("SpecialProgress1"));
    bar->setRange(0, 1);
    bar->setValue(0);
    bar->setFormat(QStringLiteral("%p %"));
    bar->setAlignment(Qt::AlignCenter);
    return bar;
}

TQVL_Query& TFormRunMeta::Query() const
{
    return *core.Query;
}

void TFormRunMeta::InstallHooks(TQVL_Query_Hooks installed)
{
    hooks = Query().InstallHooks(std::move(installed));
}

void TFormRunMeta::EndRun()
{
    // At shutdown the core may be gone before its screens.
    if (TQVL::Current() != &core)
        return;
    hooks.Reset();
    Guarded([this] { ::EndRun(core); });
}

void TFormRunMeta::ShowSuccess()
{
    TQVL_Query& query = Query();
    const int total = query.GetQueriedTotal();
    // A bar without a range would show a busy indicator instead of 0 %.
    SpecialProgress1->setRange(0, std::max(total, 1));
    SpecialProgress1->setValue(std::min(query.GetRightTotal(), std::max(total, 1)));
}

QPushButton* TFormRunMeta::CreateButton(const char* name, const QString& text, int width)
{
    auto* button = new QPushButton(text, Content());
    button->setObjectName(QString::fromLatin1(name));
    button->resize(width, 26);
    return button;
}

QPushButton* TFormRunMeta::CreateHelpButton(int width)
{
    QPushButton* button = CreateButton("Button_Help", QStringLiteral("Hilfe"), width);
    connect(button, &QPushButton::clicked, this, [this] { Guarded([this] { THelpService::ShowHelpPage(helpPage); }); });
    return button;
}

QToolButton* TFormRunMeta::CreateToolButton(const char* name, const QIcon& icon, int iconSize)
{
    auto* button = new QToolButton(Content());
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setIconSize(QSize(iconSize, iconSize));
    button->setAutoRaise(true);
    return button;
}
