// The query windows and their answer windows, for each kind of card, name and
// describe every control for a screen reader.
#include "tests/ui/query/test_QueryFixture.h"
#include "ui/query/Form_QueryResultMeta.h"
#include "ui/shell/Accessibility.h"

#include <QApplication>

TEST_F(QueryWindowTest, EveryQueryAndAnswerWindowNamesAndDescribesItsControls)
{
    struct Case {
        const char* unit;
        TQVL_QueryType queryType;
    };
    const Case cases[] = {{"Englisch - Grundwortschatz.qxu", TQVL_QueryType::Simple},
                          {"Englisch - Grundwortschatz.qxu", TQVL_QueryType::MultipleChoice},
                          {"Englisch - Aussprache.qxu", TQVL_QueryType::Simple},
                          {"Englisch - Bilder.qxu", TQVL_QueryType::Simple},
                          {"Englisch - Unregelmäßige Verben.qxu", TQVL_QueryType::Simple}};
    QStringList findings;
    int answerWindows = 0;
    for (const Case& c : cases) {
        OpenUnit(QString::fromUtf8(c.unit));
        Query().QueryType = c.queryType;
        const TQVL_Card_Container& cards = *Unit().Cards;
        for (int i = 0; i < cards.Count() && i < 7; ++i)
            Query().Cardpile->AddCard(Unit(), *cards.Card(i));
        Query().Cardpile->Units.push_back(&Unit());
        TFormQueryMeta* screen = OpenQueryWindow(*window);
        ASSERT_NE(screen, nullptr) << c.unit;
        QTest::qWait(20);
        const QString label = QStringLiteral("%1 (%2)").arg(QString::fromLatin1(screen->metaObject()->className()),
                                                           QString::fromUtf8(c.unit));
        for (const QString& missing : Accessibility::Incomplete(window.get()))
            findings << label + QStringLiteral(": ") + missing;
        // Answering with Enter brings the answer window (the picture window waits for a click instead).
        if (QWidget* focused = QApplication::focusWidget())
            QTest::keyClick(focused, Qt::Key_Return);
        QTest::qWait(20);
        if (TFormQueryResultMeta* answer = screen->ResultWindow()) {
            ++answerWindows;
            for (const QString& missing : Accessibility::Incomplete(answer))
                findings << label + QStringLiteral(", Antwortfenster: ") + missing;
        }
        Query().Stop();
        QTest::qWait(20);
        window->ShowMainMenu();
        Unit().CloseFile();
    }
    EXPECT_GE(answerWindows, 3);
    EXPECT_TRUE(findings.isEmpty()) << findings.join(QLatin1Char('\n')).toStdString();
}
