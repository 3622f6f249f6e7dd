#include "ui/show/Form_ShowPic.h"

#include "app/QVL.h"
#include "content/QVL_Card_Pic.h"
#include "content/QVL_Unit.h"
#include "core/QVL_Math.h"
#include "ui/shell/CardPicture.h"
#include "ui/shell/DialogService.h"
#include "ui/shell/Guarded.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QTreeView>

#include <algorithm>

TFormShowPic::TFormShowPic(QWidget* parent, TQVL& core) : TFormShowMeta(parent, core)
{
    setObjectName(QStringLiteral("FormShowPic"));
    SetCaption(QStringLiteral("Karten anzeigen"));
    // Picture cards have no print dialog.
    Button_Print->hide();
    CheckBox_Pictures = new QCheckBox(QStringLiteral("Bilder anzeigen"), Content());
    CheckBox_Pictures->setObjectName(QStringLiteral("CheckBox_Pictures"));
    CheckBox_Pictures->setChecked(true);
    ButtonRow()->insertWidget(0, CheckBox_Pictures);
    connect(CheckBox_Pictures, &QCheckBox::toggled, this, [this] { Guarded([this] { FillList(); }); });
    VST1->setIconSize(QSize(ThumbnailSize, ThumbnailSize));
}

QImage TFormShowPic::MakeThumbnail(const QImage& picture)
{
    QImage square(ThumbnailSize, ThumbnailSize, QImage::Format_RGB888);
    square.fill(Qt::white);
    if (picture.isNull())
        return square;
    QImage scaled = picture;
    const int width = picture.width();
    const int height = picture.height();
    if (width > ThumbnailSize || height > ThumbnailSize) {
        const int longer = std::max(width, height);
        const int newWidth = std::max(1, int(RoundHalfEven(double(width) * ThumbnailSize / longer)));
        const int newHeight = std::max(1, int(RoundHalfEven(double(height) * ThumbnailSize / longer)));
        scaled = picture.scaled(newWidth, newHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    QPainter painter(&square);
    painter.drawImage(QPoint((ThumbnailSize - scaled.width()) / 2, (ThumbnailSize - scaled.height()) / 2), scaled);
    painter.end();
    return square;
}

std::vector<TModelShowCards::TColumn> TFormShowPic::BuildColumns()
{
    using Kind = TModelShowCards::TKind;
    const std::optional<QFont> foreignFont = ProfileFont(ForeignLanguage());
    return {
        {QString(), Kind::Light, 21, std::nullopt},
        {QStringLiteral("Frage"), Kind::Text, 150, foreignFont},
        {QStringLiteral("Bild"), Kind::Picture, 80, std::nullopt},
        {QStringLiteral("Antwort"), Kind::Text, 150, foreignFont},
        {QStringLiteral("Abgefragt"), Kind::Queried, 70, std::nullopt},
        {QStringLiteral("Erfolg"), Kind::Right, 60, std::nullopt},
        {QStringLiteral("Punktwert"), Kind::PointValue, 70, std::nullopt},
    };
}

void TFormShowPic::BeginFill()
{
    thumbnailIndex.clear();
    thumbnails.clear();
    failures.clear();
    picturesLoaded = 0;
}

int TFormShowPic::thumbnailOf(const QString& path)
{
    const auto known = thumbnailIndex.constFind(path);
    if (known != thumbnailIndex.constEnd())
        return known.value();
    int index = -1;
    ++picturesLoaded;
    QString problem;
    const QImage picture = CardPicture::Read(path, problem);
    if (!picture.isNull()) {
        thumbnails.push_back(QPixmap::fromImage(MakeThumbnail(picture)));
        index = int(thumbnails.size()) - 1;
    }
    if (!problem.isEmpty())
        failures.append(problem);
    thumbnailIndex.insert(path, index);
    return index;
}

TModelShowCards::TRow TFormShowPic::BuildRow(const TQVL_Card& card)
{
    TModelShowCards::TRow row;
    row.Texts.resize(ColumnCount);
    const auto* pic = dynamic_cast<const TQVL_Card_Pic*>(&card);
    if (!pic)
        return row;
    row.Texts[colQuestion] = pic->question;
    row.Texts[colPicture] = pic->picture_filename;
    if (pic->answer_typ == 1) {
        row.Texts[colAnswer] = QStringLiteral("[Mausklick]");
        row.GreyColumn = colAnswer;
    } else {
        row.Texts[colAnswer] = pic->answer_text;
    }
    if (CheckBox_Pictures->isChecked() && !pic->picture_filename.isEmpty())
        row.Thumbnail = thumbnailOf(Unit().ExternalFilePath(pic->picture_filename));
    return row;
}

std::vector<QPixmap> TFormShowPic::EndFill()
{
    return std::move(thumbnails);
}

void TFormShowPic::FillDone()
{
    // A picture that cannot be loaded leaves its row without a thumbnail; the
    // other cards are still listed, and the learner hears of it once.
    if (!failures.isEmpty()) {
        QStringList shown = failures.mid(0, 5);
        if (failures.size() > 5)
            shown.append(QStringLiteral("(und %1 weitere Bilder)").arg(failures.size() - 5));
        TDialogService::Current().ShowError(shown.join(QLatin1Char('\n')));
    }
}

int TFormShowPic::FillRowHeight() const
{
    return CheckBox_Pictures->isChecked() ? 74 : 18;
}
