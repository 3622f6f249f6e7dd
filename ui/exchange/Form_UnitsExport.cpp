#include "ui/exchange/Form_UnitsExport.h"

#include "app/QVL.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Error.h"
#include "ui/help/HelpService.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QLabel* caption(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

TFormUnitsExport::TFormUnitsExport(TQVL& engine, const TQVL_Unit& exported, QWidget* parent)
    : TFormDialogMeta(parent), core(engine), unit(exported)
{
    setObjectName(QStringLiteral("FormUnitsExport"));
    setWindowTitle(QStringLiteral("Vokabeltrainer Quorvel"));
    Label1->setText(QStringLiteral("Lektion exportieren"));

    auto* layout = new QVBoxLayout(Content());
    layout->setContentsMargins(12, 8, 12, 8);
    layout->addWidget(caption(QStringLiteral("Lektion \"%1\" mit %2 Karten exportieren als:")
                                  .arg(QFileInfo(unit.FileName).completeBaseName())
                                  .arg(unit.Cards->Count()),
                              Content()));
    check_CSV = new QRadioButton(QStringLiteral("&CSV - Datei (für Tabellenkalkulationen)"), Content());
    check_CSV->setObjectName(QStringLiteral("check_CSV"));
    check_KVTML = new QRadioButton(QStringLiteral("&KVTML - Datei (offenes Vokabelformat)"), Content());
    check_KVTML->setObjectName(QStringLiteral("check_KVTML"));
    check_Anki = new QRadioButton(QStringLiteral("&Lernkarten-Paket (.apkg, für Lernkarten-Programme am PC und Handy)"),
                                  Content());
    check_Anki->setObjectName(QStringLiteral("check_Anki"));
    check_CSV->setChecked(true);
    layout->addWidget(check_CSV);
    layout->addWidget(check_KVTML);
    layout->addWidget(check_Anki);

    auto* delimiterRow = new QHBoxLayout;
    ComboBox_Delimiter = new QComboBox(Content());
    ComboBox_Delimiter->setObjectName(QStringLiteral("ComboBox_Delimiter"));
    ComboBox_Delimiter->addItem(QStringLiteral(";"), QStringLiteral(";"));
    ComboBox_Delimiter->addItem(QStringLiteral(","), QStringLiteral(","));
    ComboBox_Delimiter->addItem(QStringLiteral("Tabulator"), QStringLiteral("\t"));
    auto* delimiterCaption = new QLabel(QStringLiteral("&Trennzeichen:"), Content());
    delimiterCaption->setBuddy(ComboBox_Delimiter);
    delimiterRow->addWidget(delimiterCaption);
    delimiterRow->addWidget(ComboBox_Delimiter);
    delimiterRow->addStretch(1);
    layout->addLayout(delimiterRow);

    layout->addWidget(caption(QStringLiteral("Diese Felder exportieren:"), Content()));
    static const char* const captions[TQVL_Import_CSV::fFieldCount] = {
        "1. muttersprachliche Bedeutung", "2. muttersprachliche Bedeutung", "3. muttersprachliche Bedeutung",
        "1. fremdsprachige Bedeutung",    "2. fremdsprachige Bedeutung",    "3. fremdsprachige Bedeutung",
        "Anmerkung",                      "Tip",
    };
    static const char* const names[TQVL_Import_CSV::fFieldCount] = {
        "check_Home1",     "check_Home2",     "check_Home3", "check_Foreign1",
        "check_Foreign2",  "check_Foreign3",  "check_Note",  "check_Hint",
    };
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(2);
    for (int i = 0; i < TQVL_Import_CSV::fFieldCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(captions[i]), Content());
        box->setObjectName(QLatin1String(names[i]));
        box->setChecked(true);
        // Home meanings left, foreign right, note and hint below.
        const int row = i < 6 ? i % 3 : 3;
        const int column = i < 6 ? i / 3 : i - 6;
        grid->addWidget(box, row, column);
        check_Fields[std::size_t(i)] = box;
    }
    layout->addLayout(grid);
    layout->addStretch(1);

    dxButton1->setText(QStringLiteral("Hilfe"));
    dxButton2->setText(QStringLiteral("Abbruch"));
    dxButton3->setText(QStringLiteral("Exportieren..."));
    connect(dxButton1, &QPushButton::clicked, this,
            [] { Guarded([] { THelpService::ShowHelpPage(QStringLiteral("help_units_export.html")); }); });
    connect(dxButton2, &QPushButton::clicked, this, &TFormUnitsExport::reject);
    connect(dxButton3, &QPushButton::clicked, this, [this] {
        Guarded([this] {
            if (Export())
                accept();
        });
    });
    connect(check_CSV, &QRadioButton::toggled, this, [this] { formatChanged(); });
    formatChanged();
}

TFormUnitsExport::~TFormUnitsExport() = default;

TQVL_Export_Format TFormUnitsExport::chosenFormat() const
{
    if (check_KVTML->isChecked())
        return TQVL_Export_Format::KVTML;
    return check_Anki->isChecked() ? TQVL_Export_Format::Anki : TQVL_Export_Format::CSV;
}

void TFormUnitsExport::formatChanged()
{
    // KVTML and the packages have one text per language: the three meanings
    // travel together, with note and hint.
    const bool csv = chosenFormat() == TQVL_Export_Format::CSV;
    ComboBox_Delimiter->setEnabled(csv);
    for (QCheckBox* box : check_Fields)
        box->setEnabled(csv);
}

TQVL_Export TFormUnitsExport::Choices() const
{
    TQVL_Export choices;
    choices.Format = chosenFormat();
    choices.CSV.Delimiter = ComboBox_Delimiter->currentData().toString().at(0);
    bool any = false;
    for (int i = 0; i < TQVL_Import_CSV::fFieldCount; ++i) {
        choices.CSV.Fields[std::size_t(i)] = check_Fields[std::size_t(i)]->isChecked();
        any = any || check_Fields[std::size_t(i)]->isChecked();
    }
    if (choices.Format == TQVL_Export_Format::CSV && !any)
        throw TQVL_Error(QStringLiteral("Bitte wählen Sie mindestens ein Feld, das exportiert werden soll."));
    choices.LangNameForeign = core.Languages->Names->NameOf(unit.LangCodeForeign);
    choices.LangNameHome = core.Languages->Names->NameOf(unit.LangCodeHome);
    return choices;
}

bool TFormUnitsExport::Export()
{
    const TQVL_Export choices = Choices();
    TQVL_Export::Vocabulary(unit); // a picture or grammar lesson is refused before the learner picks a file
    const QString suggested = core.System->DocumentsFolder + QLatin1Char('/') +
                              QFileInfo(unit.FileName).completeBaseName() + QLatin1Char('.') +
                              TQVL_Export::Extension(choices.Format);
    QString fileName = TDialogService::Current().SaveFileName(QStringLiteral("Lektion exportieren"), suggested,
                                                              TQVL_Export::FileFilter(choices.Format));
    if (fileName.isEmpty())
        return false;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1Char('.') + TQVL_Export::Extension(choices.Format);
    const int count = choices.ExportUnit(unit, fileName);
    writtenFile = fileName;
    TDialogService::Current().ShowInformation(
        QStringLiteral("%1 Karten wurden in die Datei \"%2\" exportiert.").arg(count).arg(fileName));
    return true;
}

void TFormUnitsExport::ExportActiveUnit(TQVL& core, QWidget* parent)
{
    TFormUnitsExport dialog(core, core.Units->GetActiveUnit(), parent);
    dialog.ShowModal();
}
