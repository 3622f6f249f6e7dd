#!/usr/bin/env bash
# Runs queries in the real main window over a fresh installation under a
# virtual X server and saves a picture of each query window with a question
# and with an answer, and of the result statistics, so a person can check
# the look (question, verdict, answer windows, rating, diagram).
#   scripts/screenshot-query.sh [build-dir] [output-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=${2:-$build/screenshots}
mkdir -p "$out"

[ -f "$build/build.ninja" ] || bash scripts/configure.sh "$build"
cmake --build "$build" --target quorvel_ui setup_data soundsystem answer_sounds quorvel_help -- -j2

# The driver lives only in the build folder: it is no part of the program.
demo_source="$build/query-screenshots.cpp"
cat >"$demo_source" <<'EOF'
#include "content/QVL_Card_Voc.h"
#include "app/QVL.h"
#include "query/QVL_Query_Options.h"
#include "query/QVL_Query_Session.h"
#include "query/QVL_Query_Step.h"
#include "query/QVL_Query_Step_Options.h"
#include "query/QVL_Query_Turn.h"
#include "query/QVL_Query_Turn_Options.h"
#include "query/QVL_Query_Cardpile.h"
#include "ui/shell/DialogService.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/query/Form_QueryResultMeta.h"
#include "ui/query/Form_Query_Grammar.h"
#include "ui/query/Form_Query_Pic.h"
#include "ui/query/Form_Query_Voc.h"
#include "ui/query/Form_Query_VocMultipleChoice.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Main.h"
#include "ui/shell/WindowManager.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Messages go to the terminal: nothing may wait for a click here.
class PrintingDialogs final : public TDialogService
{
public:
    void ShowError(const QString& text) override { std::fprintf(stderr, "error: %s\n", qPrintable(text)); }
    void ShowInformation(const QString& text) override { std::fprintf(stderr, "info: %s\n", qPrintable(text)); }
    bool Confirm(const QString&) override { return true; }
    TDialogChoice ConfirmOrCancel(const QString&) override { return TDialogChoice::Yes; }
    std::optional<QString> InputText(const QString&, const QString&, const QString&, bool) override { return {}; }
    QString OpenFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString BrowseForFolder(const QString&, TQVL_SpecialFolder, const QString&) override { return {}; }
};

void settle(int ms = 300)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

QString out;
void shoot(TMainForm& window, const QString& name)
{
    settle();
    const QString file = out + QStringLiteral("/query-") + name + QStringLiteral(".png");
    window.grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

void setOptions(TQVL_Query& query, bool selfEvaluated)
{
    TQVL_Query_Options& options = *query.Options;
    options.storeresults = true;
    options.onlystoreresultswheallqueried = false;
    options.selfevaluation = selfEvaluated;
    options.reducecardlisttyp = 0;
    options.reducecardlistby = 25;
    options.Turn().mix = true;
    options.Turn().reducecardlisttyp = 2;
    options.Step().direction = 1;
    options.Step().sounds = false;
    options.Step().evaluation->ignorecase = true;
    options.SetEvaluationFlags(selfEvaluated);
}

void openUnit(TMainForm& window, const QString& name)
{
    TQVL_Unit& unit = window.Core().Units->GetActiveUnit();
    if (unit.IsOpen)
        unit.CloseFile();
    unit.Open(window.Core().System->DocumentsFolder + QStringLiteral("/Lektionen/") + name);
    window.Core().Query->Cardpile->AddUnit(unit);
}

const TQVL_Card* asked(TMainForm& window)
{
    return window.Core().Query->Session->Turn->Step->Card->Card;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir folder;
    qputenv("QUORVEL_APPDATA", (folder.path() + QStringLiteral("/appdata")).toUtf8());
    qputenv("QUORVEL_DOCUMENTS", (folder.path() + QStringLiteral("/documents")).toUtf8());
    PrintingDialogs dialogs;
    TDialogService::Install(&dialogs);

    TMainForm window;
    window.move(0, 0);
    window.show();
    while (!window.StartedUp())
        settle(100);
    window.Core().Users->GetActiveUser().Open(window.Core().System->DocumentsFolder +
                                               QStringLiteral("/Benutzer/Lernender.qxs"));
    TQVL_Query& query = *window.Core().Query;

    // Vocabulary: a wrong answer, then Abbruch to the statistics.
    setOptions(query, false);
    openUnit(window, QStringLiteral("Englisch - Grundwortschatz.qxu"));
    auto* voc = static_cast<TFormQueryVoc*>(OpenQueryWindow(window));
    voc->TntEdit1->setText(QStringLiteral("Hau"));
    shoot(window, QStringLiteral("voc-question"));
    voc->TntEdit1->setFocus();
    emit voc->TntEdit1->returnPressed();
    shoot(window, QStringLiteral("voc-answer"));
    voc->ResultWindow()->Button_Ok->click();
    for (int i = 0; i < 5; ++i) {
        voc->TntEdit1->setText(static_cast<const TQVL_Card_Voc*>(asked(window))->home1);
        emit voc->TntEdit1->returnPressed();
        voc->ResultWindow()->Button_Ok->click();
    }
    voc->Button_Abort->click();
    shoot(window, QStringLiteral("statistics"));

    // Self-evaluation.
    setOptions(query, true);
    openUnit(window, QStringLiteral("Englisch - Grundwortschatz.qxu"));
    voc = static_cast<TFormQueryVoc*>(OpenQueryWindow(window));
    voc->TntEdit1->setText(QStringLiteral("Haus"));
    emit voc->TntEdit1->returnPressed();
    shoot(window, QStringLiteral("voc-selfevaluation"));
    window.ShowMainMenu();

    // Multiple choice.
    setOptions(query, false);
    query.QueryType = TQVL_QueryType::MultipleChoice;
    openUnit(window, QStringLiteral("Englisch - Grundwortschatz.qxu"));
    auto* choice = static_cast<TFormQueryVocMultipleChoice*>(OpenQueryWindow(window));
    choice->TntListBox1->setCurrentRow(2);
    shoot(window, QStringLiteral("mc-question"));
    choice->Button_Result->click();
    shoot(window, QStringLiteral("mc-answer"));
    window.ShowMainMenu();
    query.QueryType = TQVL_QueryType::Simple;

    // Pictures, in full screen so that they show at their own size.
    window.SetFullscreen(true);
    openUnit(window, QStringLiteral("Englisch - Bilder.qxu"));
    query.Options->Turn().mix = false;
    auto* picture = static_cast<TFormQueryPic*>(OpenQueryWindow(window));
    picture->TntEdit1->setText(QStringLiteral("hose"));
    shoot(window, QStringLiteral("pic-question"));
    emit picture->TntEdit1->returnPressed();
    shoot(window, QStringLiteral("pic-answer-typed"));
    picture->ResultWindow()->Button_Ok->click();
    while (picture->TntLabel1->text() != QStringLiteral("Click on an eye.")) {
        if (picture->TntEdit1->isVisible()) {
            picture->TntEdit1->setText(QStringLiteral("x"));
            emit picture->TntEdit1->returnPressed();
        } else {
            picture->Button_Result->click();
        }
        picture->ResultWindow()->Button_Ok->click();
    }
    shoot(window, QStringLiteral("pic-question-click"));
    const QRect shown = picture->ShownRect();
    const QPoint at(10 * shown.width() / 300, 10 * shown.height() / 300);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), picture->PaintBox1->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(picture->PaintBox1, &press);
    shoot(window, QStringLiteral("pic-answer-click"));
    window.ShowMainMenu();
    window.SetFullscreen(false);

    // Grammar.
    openUnit(window, QStringLiteral("Englisch - Unregelmäßige Verben.qxu"));
    auto* grammar = static_cast<TFormQueryGrammar*>(OpenQueryWindow(window));
    grammar->AnswerFields().front()->setText(QStringLiteral("went"));
    shoot(window, QStringLiteral("grammar-question"));
    grammar->Button_Result->click();
    shoot(window, QStringLiteral("grammar-answer"));
    window.ShowMainMenu();

    // The twelve rating images, one row per state (0 to 3), parts A, B, C side by side.
    QImage sheet(3 * 96 + 16, 4 * 104 + 8, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        for (int state = 0; state < 4; ++state)
            for (int part = 0; part < 3; ++part)
                painter.drawPixmap(8 + part * 96, 8 + state * 104,
                                   Icons::Pixmap(QStringLiteral("rating-%1%2").arg(QLatin1Char("ABC"[part])).arg(state),
                                                 96, 1));
    }
    const QString sheetFile = out + QStringLiteral("/query-rating-images.png");
    sheet.save(sheetFile);
    std::printf("%s\n", qPrintable(sheetFile));

    window.close();
    return 0;
}
EOF

bash scripts/build-demo.sh "$build" "$demo_source" "$build/query-screenshots"

# The program folder holds the help, the sounds and the installed data.
cp "$build/query-screenshots" "$build/bin/query-screenshots"
xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy \
    "$build/bin/query-screenshots" "$(realpath "$out")"
rm -f "$build/bin/query-screenshots"
