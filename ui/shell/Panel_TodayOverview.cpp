#include "ui/shell/Panel_TodayOverview.h"

#include "app/QVL.h"
#include "query/QVL_Result_Unit.h"
#include "query/QVL_Result_User.h"
#include "statistics/QVL_Statistics_Today.h"
#include "ui/shell/Guarded.h"
#include "ui/shell/Icons.h"
#include "ui/shell/StorageForecasts.h"
#include "users/QVL_User.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

constexpr int MaxStorageRows = 4;

QLabel* plainLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    // File names reach these labels: never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

TPanelTodayOverview::TPanelTodayOverview(QWidget* parent, TQVL& engine) : QFrame(parent), core(engine)
{
    setObjectName(QStringLiteral("Panel_TodayOverview"));
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("Tagesübersicht"));
    // Only as tall as its lines: the tiles above keep the room they need.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);

    Label_Today = plainLabel(this, QStringLiteral("Label_Today"));
    QFont bold = Label_Today->font();
    bold.setBold(true);
    Label_Today->setFont(bold);
    Label_Streak = plainLabel(this, QStringLiteral("Label_Streak"));
    Label_LastLesson = plainLabel(this, QStringLiteral("Label_LastLesson"));
    Label_LastLesson->setWordWrap(true);
    Label_NoStorage = plainLabel(this, QStringLiteral("Label_NoStorage"));
    Label_NoStorage->setText(QStringLiteral("Kein Langzeitspeicher vorhanden"));

    Button_ProblemWords = new QPushButton(QStringLiteral("Problemwörter"), this);
    Button_ProblemWords->setObjectName(QStringLiteral("Button_ProblemWords"));
    Button_ProblemWords->setIcon(Icons::Get(QStringLiteral("view")));
    Button_ProblemWords->setFlat(true);
    Button_ProblemWords->setStyleSheet(QStringLiteral("text-align: left"));
    Button_ProblemWords->setAutoDefault(false);
    Button_ProblemWords->setAccessibleDescription(
        QStringLiteral("Zeigt die Vokabeln, die Sie am häufigsten falsch beantworten"));
    connect(Button_ProblemWords, &QPushButton::clicked, this, [this] {
        if (OnProblemWordsChosen)
            OnProblemWordsChosen();
    });

    auto* figures = new QVBoxLayout;
    figures->setSpacing(2);
    figures->addWidget(Label_Today);
    figures->addWidget(Label_Streak);
    figures->addWidget(Label_LastLesson);
    figures->addWidget(Button_ProblemWords, 0, Qt::AlignLeft);
    figures->addStretch(1);

    storageLayout = new QVBoxLayout;
    storageLayout->setSpacing(2);
    storageLayout->addWidget(Label_NoStorage);
    storageLayout->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(12);
    layout->addLayout(figures, 1);
    layout->addLayout(storageLayout, 1);
}

QString TPanelTodayOverview::StorageText(const QString& name, int dueToday, int dueTomorrow,
                                         const QString& pausedUntil)
{
    if (!pausedUntil.isEmpty())
        return QStringLiteral("%1: pausiert bis %2").arg(name, pausedUntil);
    return QStringLiteral("%1: %2 heute, %3 morgen").arg(name).arg(dueToday).arg(dueTomorrow);
}

void TPanelTodayOverview::clearStorages()
{
    for (QPushButton* button : std::as_const(StorageButtons)) {
        storageLayout->removeWidget(button);
        // Refresh may run inside a button's own click: it goes once control is back in the loop.
        button->hide();
        button->deleteLater();
    }
    StorageButtons.clear();
}

void TPanelTodayOverview::addStorage(const QString& name, const QString& path, int dueToday, int dueTomorrow,
                                     const QString& pausedUntil)
{
    auto* button = new QPushButton(StorageText(name, dueToday, dueTomorrow, pausedUntil), this);
    button->setObjectName(QStringLiteral("Button_Storage%1").arg(StorageButtons.size() + 1));
    button->setIcon(Icons::Get(QStringLiteral("storage")));
    button->setFlat(true);
    button->setStyleSheet(QStringLiteral("text-align: left"));
    button->setAutoDefault(false);
    button->setAccessibleName(button->text());
    button->setAccessibleDescription(QStringLiteral("Startet die Abfrage des Langzeitspeichers %1").arg(name));
    connect(button, &QPushButton::clicked, this, [this, path] {
        if (OnStorageChosen)
            OnStorageChosen(path);
    });
    storageLayout->insertWidget(storageLayout->count() - 1, button);
    StorageButtons.append(button);
}

void TPanelTodayOverview::Refresh()
{
    clearStorages();
    Label_NoStorage->show();
    if (!core.Users->HasActiveUser()) {
        Label_Today->clear();
        Label_Streak->clear();
        Label_LastLesson->clear();
        return;
    }
    const TQVL_Result_User& results = core.Users->GetActiveUser().Results();
    const TQVL_DateTime now = TQVL_DateTime::Now();
    TQVL_Statistics_UnitResults units;
    for (int i = 0; i < results.UnitCount(); ++i)
        units.push_back(&results.Unit(i));
    const TQVL_Statistics_Today today = TQVL_Statistics_Today::Compute(units, now);
    Label_Today->setText(today.TodayText());
    Label_Streak->setText(today.StreakText());
    if (today.LastLessonFileName.isEmpty()) {
        Label_LastLesson->setText(QStringLiteral("Noch keine Lektion abgefragt"));
    } else {
        Label_LastLesson->setText(
            QStringLiteral("Zuletzt: %1 am %2, %3 % richtig")
                .arg(QFileInfo(today.LastLessonFileName).completeBaseName(), today.LastLessonDate.ShortDateText())
                .arg(today.LastLessonSuccessPercent()));
    }

    struct Row
    {
        QString name, path;
        int dueToday, dueTomorrow;
        QString pausedUntil;
    };
    std::vector<Row> rows;
    for (const TStorageForecast& storage : StorageForecasts(core, now, 2))
        rows.push_back({storage.Name, storage.Path, storage.Due.at(0), storage.Due.at(1),
                        storage.PausedUntil.IsEmpty() ? QString() : storage.PausedUntil.Date().toString(u"dd.MM.yyyy")});
    // The tiles keep their room: the storages with the most due today come first, a few of them.
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.dueToday > b.dueToday; });
    if (rows.size() > std::size_t(MaxStorageRows))
        rows.resize(std::size_t(MaxStorageRows));
    for (const Row& row : rows)
        addStorage(row.name, row.path, row.dueToday, row.dueTomorrow, row.pausedUntil);
    Label_NoStorage->setVisible(StorageButtons.isEmpty());
}
