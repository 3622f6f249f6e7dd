#pragma once

#include "ui/show/Form_ShowMeta.h"

#include <QHash>
#include <QImage>
#include <QStringList>

class QCheckBox;

// "Karten anzeigen" of a picture unit: question, thumbnail of the picture,
// answer and the learner's counts per card.
class TFormShowPic : public TFormShowMeta
{
    Q_OBJECT
public:
    enum TColumn
    {
        colLight,
        colQuestion,
        colPicture,
        colAnswer,
        colQueried,
        colRight,
        colPointValue,
        ColumnCount
    };
    static constexpr int ThumbnailSize = 64;

    TFormShowPic(QWidget* parent, TQVL& core);

    // A picture as a thumbnail: scaled without smoothing until its longer side
    // is 64 pixels (a picture within 64 × 64 stays as it is), centred on a white square.
    static QImage MakeThumbnail(const QImage& picture);
    // How many pictures the last filling loaded from disk.
    int PicturesLoaded() const { return picturesLoaded; }

    QCheckBox* CheckBox_Pictures = nullptr;

protected:
    std::vector<TModelShowCards::TColumn> BuildColumns() override;
    TModelShowCards::TRow BuildRow(const TQVL_Card& card) override;
    void BeginFill() override;
    std::vector<QPixmap> EndFill() override;
    int FillRowHeight() const override;
    void FillDone() override;
    QString HelpPage() const override { return QStringLiteral("help_show_pic.html"); }

private:
    int thumbnailOf(const QString& path);

    // Path to thumbnail, -1 for a picture that could not be loaded.
    QHash<QString, int> thumbnailIndex;
    std::vector<QPixmap> thumbnails;
    QStringList failures;
    int picturesLoaded = 0;
};
