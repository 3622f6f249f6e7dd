// Prints what KDE's vocabulary-document library reads from a KVTML file, one
// line per identifier and per entry, tab-separated, with "\\", "\t" and "\n"
// escaped. Built against Qt 5 apart from the program, so our KVTML export is
// checked by a reader we did not write.
#include <keduvocdocument.h>
#include <keduvocexpression.h>
#include <keduvocidentifier.h>
#include <keduvoclesson.h>
#include <keduvoctranslation.h>

#include <QCoreApplication>
#include <QTextStream>
#include <QUrl>

#include <cstdio>

static QString escaped(QString text)
{
    text.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    text.replace(QLatin1String("\t"), QLatin1String("\\t"));
    text.replace(QLatin1String("\n"), QLatin1String("\\n"));
    return text;
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ReadKvtml <file.kvtml>\n");
        return 2;
    }
    KEduVocDocument document;
    const auto error = document.open(QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1])),
                                     KEduVocDocument::FileOpenReadOnly);
    if (error != KEduVocDocument::NoError) {
        std::fprintf(stderr, "open failed: %d %s\n", int(error), qPrintable(KEduVocDocument::errorDescription(error)));
        return 1;
    }
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    for (int i = 0; i < document.identifierCount(); ++i)
        out << "identifier\t" << i << '\t' << escaped(document.identifier(i).name()) << '\t'
            << escaped(document.identifier(i).locale()) << '\n';
    for (KEduVocExpression* entry : document.lesson()->entries(KEduVocContainer::Recursive)) {
        KEduVocTranslation* foreign = entry->translation(0);
        KEduVocTranslation* home = entry->translation(1);
        out << "entry\t" << escaped(foreign ? foreign->text() : QString()) << '\t'
            << escaped(home ? home->text() : QString()) << '\t' << escaped(foreign ? foreign->comment() : QString())
            << '\t' << escaped(foreign ? foreign->paraphrase() : QString()) << '\n';
    }
    return 0;
}
