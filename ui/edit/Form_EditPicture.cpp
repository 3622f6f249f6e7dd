#include "ui/edit/Form_EditPicture.h"

#include "app/QVL.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Card_Pic_ClickArea_Circle.h"
#include "core/QVL_Error.h"
#include "core/QVL_System.h"
#include "ui/edit/PictureArea.h"
#include "ui/shell/CardPicture.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/ForeignInput.h"
#include "ui/shell/Guarded.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int radii[] = {10, 20, 30, 40, 50, 60, 80, 100, 120, 140, 160};

bool sameContent(const QString& first, const QString& second)
{
    QFile a(first), b(second);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    return a.readAll() == b.readAll();
}

} // namespace

TFormEditPicture::TFormEditPicture(TQVL& core, QWidget* parent) : TFormEdit(core, parent)
{
    setObjectName(QStringLiteral("FormEditPicture"));
    SetCaption(QStringLiteral("Karte hinzufügen"));
    SetSubCaption(QStringLiteral("Über einen Klick auf das Baum-Symbol können Sie zunächst ein Bild laden. Anschließend "
                                 "können Sie die Frage und die Lösung in Form einer Texteingabe oder eines Klickens auf "
                                 "die richtige Stelle im Bild eingeben."));
    QWidget* area = Editor();
    Image1 = new TPictureArea(area);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->OnLeftClick = [this](const QPoint& point, bool onPicture) {
        Guarded([&] {
            if (placing && onPicture)
                PictureClicked(point);
            else if (!placing && (onPicture || Image1->Picture().isNull()) && CurrentCard())
                LoadPicture();
        });
    };
    Action_KeepQuestion = new QAction(QStringLiteral("Frage bei neuer Karte beibehalten"), this);
    Action_KeepQuestion->setObjectName(QStringLiteral("Action_KeepQuestion"));
    Action_KeepQuestion->setCheckable(true);
    Action_KeepPicture = new QAction(QStringLiteral("Bild bei neuer Karte beibehalten"), this);
    Action_KeepPicture->setObjectName(QStringLiteral("Action_KeepPicture"));
    Action_KeepPicture->setCheckable(true);
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    Action_LoadPicture = new QAction(QStringLiteral("Bild laden"), this);
    Action_LoadPicture->setObjectName(QStringLiteral("Action_LoadPicture"));
    connect(Action_LoadPicture, &QAction::triggered, this, [this] { Guarded([this] { LoadPicture(); }); });
    Image1->addActions({Action_KeepQuestion, Action_KeepPicture, separator, Action_LoadPicture});
    Image1->setContextMenuPolicy(Qt::ActionsContextMenu);

    TntEdit1 = new QLineEdit(area);
    TntEdit1->setObjectName(QStringLiteral("TntEdit1"));
    TntEdit2 = new QLineEdit(area);
    TntEdit2->setObjectName(QStringLiteral("TntEdit2"));
    for (QLineEdit* input : {TntEdit1, TntEdit2}) {
        MarkForeignInput(input);
        ApplyProfileFont(input, ForeignLanguage());
    }
    RadioButton_Text = new QRadioButton(QStringLiteral("durch Texteingabe"), area);
    RadioButton_Text->setObjectName(QStringLiteral("RadioButton_Text"));
    RadioButton_Click = new QRadioButton(QStringLiteral("durch Klicken auf richtige Stelle im Bild"), area);
    RadioButton_Click->setObjectName(QStringLiteral("RadioButton_Click"));
    connect(RadioButton_Text, &QRadioButton::clicked, this, [this] { Guarded([this] { ChooseTextAnswer(); }); });
    connect(RadioButton_Click, &QRadioButton::clicked, this, [this] { Guarded([this] { ChooseClickAnswer(); }); });

    PageControl1 = new QStackedWidget(area);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* textPage = new QWidget(PageControl1);
    textPage->setObjectName(QStringLiteral("TabSheet_Text"));
    auto* textLayout = new QHBoxLayout(textPage);
    textLayout->setContentsMargins(0, 0, 0, 0);
    auto* expected = new QLabel(QStringLiteral("Erwarteter Lösungstext:"), textPage);
    expected->setBuddy(TntEdit2);
    TntEdit2->setParent(textPage);
    textLayout->addWidget(expected);
    textLayout->addWidget(TntEdit2, 1);
    auto* clickPage = new QWidget(PageControl1);
    clickPage->setObjectName(QStringLiteral("TabSheet_Click"));
    Button_SetPosition = new QPushButton(QStringLiteral("Stelle jetzt festlegen"), clickPage);
    Button_SetPosition->setObjectName(QStringLiteral("Button_SetPosition"));
    Button_SetPosition->setAutoDefault(false);
    Button_DeletePosition = new QPushButton(QStringLiteral("Stelle löschen"), clickPage);
    Button_DeletePosition->setObjectName(QStringLiteral("Button_DeletePosition"));
    Button_DeletePosition->setAutoDefault(false);
    ComboBox_Radius = new QComboBox(clickPage);
    ComboBox_Radius->setObjectName(QStringLiteral("ComboBox_Radius"));
    for (const int radius : radii)
        ComboBox_Radius->addItem(QString::number(radius), radius);
    setRadiusList(DefaultRadius);
    auto* radiusLabel = new QLabel(QStringLiteral("Radius:"), clickPage);
    radiusLabel->setBuddy(ComboBox_Radius);
    auto* clickLayout = new QHBoxLayout(clickPage);
    clickLayout->setContentsMargins(0, 0, 0, 0);
    clickLayout->addWidget(Button_SetPosition);
    clickLayout->addWidget(Button_DeletePosition);
    clickLayout->addWidget(radiusLabel);
    clickLayout->addWidget(ComboBox_Radius);
    clickLayout->addStretch(1);
    PageControl1->addWidget(textPage);
    PageControl1->addWidget(clickPage);
    connect(Button_SetPosition, &QPushButton::clicked, this, [this] { Guarded([this] { SetPosition(); }); });
    connect(Button_DeletePosition, &QPushButton::clicked, this, [this] { Guarded([this] { DeletePosition(); }); });
    connect(ComboBox_Radius, &QComboBox::activated, this, [this] { Guarded([this] { RadiusChanged(); }); });

    Label_Prompt = new QLabel(QStringLiteral("Bitte klicken Sie nun mit der Maus auf die entsprechende Stelle im Bild."),
                              area);
    Label_Prompt->setObjectName(QStringLiteral("Label_Prompt"));
    Label_Prompt->setWordWrap(true);
    // The prompt comes and goes without moving the picture under the mouse.
    QSizePolicy promptPolicy = Label_Prompt->sizePolicy();
    promptPolicy.setRetainSizeWhenHidden(true);
    Label_Prompt->setSizePolicy(promptPolicy);
    Label_Prompt->setVisible(false);

    auto* panel = new QWidget(area);
    panel->setObjectName(QStringLiteral("Panel_Question"));
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    auto* questionLabel = new QLabel(QStringLiteral("Frage:"), panel);
    questionLabel->setBuddy(TntEdit1);
    TntEdit1->setParent(panel);
    grid->addWidget(questionLabel, 0, 0);
    grid->addWidget(TntEdit1, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Lösung:"), panel), 1, 0);
    RadioButton_Text->setParent(panel);
    RadioButton_Click->setParent(panel);
    grid->addWidget(RadioButton_Text, 1, 1);
    grid->addWidget(RadioButton_Click, 1, 2);
    PageControl1->setParent(panel);
    grid->addWidget(PageControl1, 2, 1, 1, 2);
    grid->setColumnStretch(2, 1);

    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(8, 4, 8, 0);
    layout->setSpacing(6);
    layout->addWidget(Image1, 1);
    layout->addWidget(Label_Prompt);
    layout->addWidget(panel, 0, Qt::AlignHCenter);
    panel->setMinimumWidth(560);
}

TFormEditPicture::~TFormEditPicture() = default;

int TFormEditPicture::CardKind() const
{
    return tPic;
}

QString TFormEditPicture::HelpPage() const
{
    return QStringLiteral("help_edit_picture.html");
}

TQVL_Card_Pic* TFormEditPicture::currentPic() const
{
    return dynamic_cast<TQVL_Card_Pic*>(CurrentCard());
}

QString TFormEditPicture::GraphicsFolder() const
{
    return Unit().ExternalFilesFolder();
}

QRect TFormEditPicture::PictureRect() const
{
    return Image1->PictureRect();
}

void TFormEditPicture::setRadiusList(int radius)
{
    const int index = ComboBox_Radius->findData(radius);
    if (index >= 0)
        ComboBox_Radius->setCurrentIndex(index);
}

void TFormEditPicture::showPicture()
{
    TQVL_Card_Pic* card = currentPic();
    QPixmap picture;
    if (card && !card->picture_filename.isEmpty()) {
        const QString path = Unit().ExternalFilePath(card->picture_filename);
        // Read as the query reads it: the name comes from the lesson and may be a FIFO or a device.
        QString error;
        picture = QPixmap::fromImage(CardPicture::Read(path, error));
        if (picture.isNull())
            throw TQVL_Error::WithCause(QStringLiteral("Die Grafik \"%1\" kann nicht geladen werden.").arg(path),
                                        error);
    }
    Image1->SetPicture(picture);
    Image1->SetClickAreas(card ? card->clickareas.get() : nullptr);
}

void TFormEditPicture::endPlacing()
{
    placing = false;
    Image1->unsetCursor();
    Label_Prompt->setVisible(false);
}

void TFormEditPicture::ShowCard(int index)
{
    TFormEdit::ShowCard(index);
    endPlacing();
    currentArea = nullptr;
    Image1->SetPicture(QPixmap());
    Image1->SetClickAreas(nullptr);
    PageControl1->setCurrentIndex(0);
    RadioButton_Text->setChecked(true);
    TQVL_Card_Pic* card = currentPic();
    const bool hasPicture = card && !card->picture_filename.isEmpty();
    if (hasPicture) {
        // A picture that cannot be shown still leaves the card editable.
        Guarded([this] { showPicture(); });
        const bool hasArea = card->clickareas->Count() > 0;
        if (card->answer_typ == 1) {
            Button_SetPosition->setEnabled(!hasArea);
            Button_DeletePosition->setEnabled(hasArea);
            ComboBox_Radius->setEnabled(hasArea);
            PageControl1->setCurrentIndex(1);
            RadioButton_Click->setChecked(true);
            currentArea = hasArea ? card->clickareas->Item(0) : nullptr;
            if (auto* circle = dynamic_cast<TQVL_Card_Pic_ClickArea_Circle*>(currentArea))
                setRadiusList(circle->radius);
        } else {
            Button_SetPosition->setEnabled(true);
            Button_DeletePosition->setEnabled(false);
            ComboBox_Radius->setEnabled(false);
        }
    } else {
        Button_SetPosition->setEnabled(false);
        Button_DeletePosition->setEnabled(false);
        ComboBox_Radius->setEnabled(false);
        setRadiusList(NoPictureRadius);
        if (card && card->answer_typ == 1) {
            PageControl1->setCurrentIndex(1);
            RadioButton_Click->setChecked(true);
        }
    }
    TntEdit1->setText(card ? card->question : QString());
    TntEdit2->setText(card ? card->answer_text : QString());
    for (QWidget* input : std::initializer_list<QWidget*>{TntEdit1, TntEdit2, RadioButton_Text, RadioButton_Click})
        input->setEnabled(card != nullptr);
    if (isVisible())
        TntEdit1->setFocus();
}

void TFormEditPicture::CreateNewCard()
{
    endPlacing();
    const QString question = TntEdit1->text();
    const TQVL_Card_Pic* previous = currentPic();
    const QString picture = previous ? previous->picture_filename : QString();
    TFormEdit::CreateNewCard();
    if (Action_KeepQuestion->isChecked())
        TntEdit1->setText(question);
    TQVL_Card_Pic* card = currentPic();
    if (card && Action_KeepPicture->isChecked() && !picture.isEmpty()) {
        card->picture_filename = picture;
        ShowCard(CardIndex);
        if (Action_KeepQuestion->isChecked())
            TntEdit1->setText(question);
    }
}

void TFormEditPicture::LoadPicture()
{
    TQVL_Card_Pic* card = currentPic();
    if (!card)
        return;
    const QString folder = GraphicsFolder();
    const QString chosen = TDialogService::Current().OpenFileName(
        QStringLiteral("Bild laden"), folder,
        QStringLiteral("Bilder (*.png *.jpg *.jpeg *.bmp *.gif *.webp);;Alle Dateien (*)"));
    if (chosen.isEmpty())
        return;
    const QFileInfo file(chosen);
    QString name = file.fileName();
    if (name != card->picture_filename)
        MarkModified();
    card->picture_filename = name;
    if (QDir::cleanPath(file.absolutePath()) != QDir::cleanPath(folder)) {
        if (!TDialogService::Current().Confirm(
                QStringLiteral("Die gewählte Grafik befindet sich nicht in dem für die Lektion festgelegten "
                               "Grafikverzeichnis \"%1\". Jetzt kopieren?")
                    .arg(folder)))
            throw TQVL_Error(
                QStringLiteral("Grafiken müssen sich in dem für die Lektion festgelegten Grafikverzeichnis liegen."));
        QString target = folder + QLatin1Char('/') + name;
        // Another picture of that name is never replaced, nor shown in place of the chosen one.
        if (QFileInfo::exists(target) && !sameContent(chosen, target)) {
            target = TQVL_System::UniqueFileName(folder, name);
            name = QFileInfo(target).fileName();
            card->picture_filename = name;
        }
        QDir().mkpath(folder);
        if (!QFileInfo::exists(target) && !QFile::copy(chosen, target))
            throw TQVL_Error(QStringLiteral("Die Grafik \"%1\" kann nicht nach \"%2\" kopiert werden.").arg(chosen, target));
    }
    showPicture();
    Button_SetPosition->setEnabled(RadioButton_Text->isChecked() || card->clickareas->Count() == 0);
}

void TFormEditPicture::SetPosition()
{
    TQVL_Card_Pic* card = currentPic();
    if (!card)
        return;
    currentArea = card->clickareas->AddNew(0);
    if (auto* circle = dynamic_cast<TQVL_Card_Pic_ClickArea_Circle*>(currentArea))
        circle->radius = ComboBox_Radius->currentData().toInt();
    MarkModified();
    placing = true;
    Label_Prompt->setVisible(true);
    Image1->setCursor(Qt::CrossCursor);
    ComboBox_Radius->setEnabled(true);
}

void TFormEditPicture::PictureClicked(const QPoint& point)
{
    if (!placing)
        return;
    endPlacing();
    const QRect shown = PictureRect();
    const QPixmap& picture = Image1->Picture();
    if (auto* circle = dynamic_cast<TQVL_Card_Pic_ClickArea_Circle*>(currentArea);
        circle && shown.width() > 0 && shown.height() > 0) {
        circle->left = qint32(std::lround(point.x() * (float(picture.width()) / float(shown.width()))));
        circle->top = qint32(std::lround(point.y() * (float(picture.height()) / float(shown.height()))));
        circle->radius = ComboBox_Radius->currentData().toInt();
    }
    Button_SetPosition->setEnabled(false);
    Button_DeletePosition->setEnabled(true);
    Image1->update();
}

void TFormEditPicture::DeletePosition()
{
    TQVL_Card_Pic* card = currentPic();
    if (card && currentArea) {
        card->clickareas->Remove(currentArea);
        MarkModified();
    }
    currentArea = nullptr;
    endPlacing();
    Button_SetPosition->setEnabled(!Image1->Picture().isNull());
    Button_DeletePosition->setEnabled(false);
    ComboBox_Radius->setEnabled(false);
    Image1->update();
}

void TFormEditPicture::ChooseTextAnswer()
{
    PageControl1->setCurrentIndex(0);
    DeletePosition();
}

void TFormEditPicture::ChooseClickAnswer()
{
    PageControl1->setCurrentIndex(1);
    TntEdit2->clear();
    if (TQVL_Card_Pic* card = currentPic(); card && !card->answer_text.isEmpty()) {
        card->answer_text.clear();
        MarkModified();
    }
}

void TFormEditPicture::RadiusChanged()
{
    if (auto* circle = dynamic_cast<TQVL_Card_Pic_ClickArea_Circle*>(currentArea)) {
        circle->radius = ComboBox_Radius->currentData().toInt();
        MarkModified();
    }
    Image1->update();
}

void TFormEditPicture::WriteCard(TQVL_Card& card)
{
    auto* pic = dynamic_cast<TQVL_Card_Pic*>(&card);
    if (!pic)
        return;
    const quint8 typ = RadioButton_Text->isChecked() ? 0 : 1;
    if (pic->answer_typ == typ && pic->question == TntEdit1->text() && pic->answer_text == TntEdit2->text())
        return;
    pic->answer_typ = typ;
    pic->question = TntEdit1->text();
    pic->answer_text = TntEdit2->text();
    MarkModified();
}

bool TFormEditPicture::IsCardEmpty() const
{
    const TQVL_Card_Pic* card = currentPic();
    return card && TntEdit1->text().isEmpty() && TntEdit2->text().isEmpty() && card->picture_filename.isEmpty() &&
           card->clickareas->Count() == 0;
}
