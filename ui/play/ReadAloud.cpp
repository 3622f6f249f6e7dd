#include "ui/play/ReadAloud.h"

#include "app/QVL.h"
#include "core/QVL_SpeechService.h"
#include "core/QVL_System_Speech.h"
#include "query/QVL_ReadAloud.h"
#include "ui/query/Form_QueryMeta.h"
#include "ui/shell/Icons.h"
#include "ui/shell/Theme.h"
#include "users/QVL_User.h"

#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace {

TQVL_SpeechService* service()
{
    TQVL* core = TQVL::Current();
    return core && core->System ? core->System->Speech.get() : nullptr;
}

TQVL_User* activeUser()
{
    TQVL* core = TQVL::Current();
    return core && core->Users && core->Users->HasActiveUser() ? &core->Users->GetActiveUser() : nullptr;
}

const QString onHint = QStringLiteral("Vorlesen deaktivieren");
const QString offHint = QStringLiteral("Karten ohne Aufnahme vorlesen");

} // namespace

bool ReadAloud::IsOn()
{
    const TQVL_User* user = activeUser();
    return user && user->readaloud;
}

void ReadAloud::SetOn(bool on)
{
    // Written with the profile at logout, like everything else of the session.
    if (TQVL_User* user = activeUser())
        user->readaloud = on;
}

void ReadAloud::Play(const TQVL_ReadAloud& what, QObject* context)
{
    TQVL_SpeechService* speech = service();
    if (!what.RecordingFile.isEmpty()) {
        // A recording replaces whatever was still being read.
        if (speech)
            speech->CancelLatest();
        TFormQueryMeta::PlaySound(what.RecordingFile);
        return;
    }
    if (!speech || what.Text.isEmpty() || !TFormQueryMeta::SoundAvailable())
        return;
    speech->Run(
        [text = what.Text, langCode = what.LangCode](TQVL_System_Speech& engine, const std::atomic<bool>& cancel) {
            return engine.Synthesize(text, langCode, &cancel);
        },
        context,
        [](const QString& file, const QString& error) {
            if (error.isEmpty())
                TFormQueryMeta::PlaySound(file);
            else if (TQVL_SpeechService* told = service())
                told->TellOnce(error);
        });
}

bool ReadAloud::Busy()
{
    const TQVL_SpeechService* speech = service();
    return speech && speech->Busy();
}

QToolButton* ReadAloud::CreateButton(QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QStringLiteral("Button_ReadAloud"));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setIconSize(QSize(20, 20));
    button->setFocusPolicy(Qt::TabFocus);
    button->setAccessibleName(QStringLiteral("Vorlesen"));
    auto show = [button](bool on) {
        button->setIcon(on ? SpeechIcon() : StruckIcon(SpeechIcon()));
        button->setToolTip(on ? onHint : offHint);
        button->setAccessibleDescription(on ? onHint : offHint);
    };
    button->setChecked(IsOn());
    show(IsOn());
    QObject::connect(button, &QToolButton::toggled, button, [show](bool on) {
        SetOn(on);
        show(on);
    });
    return button;
}

QIcon ReadAloud::StruckIcon(const QIcon& icon)
{
    QIcon struck;
    for (const int size : {16, 20, 24, 32, 48}) {
        QPixmap pixmap = icon.pixmap(size, size, QIcon::Disabled);
        if (pixmap.isNull())
            continue;
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Theme::VerdictWrong, std::max(1.5, size / 10.0), Qt::SolidLine, Qt::RoundCap));
        const QRectF area(QPointF(0, 0), pixmap.deviceIndependentSize());
        painter.drawLine(area.topLeft() + QPointF(size * 0.12, size * 0.12),
                         area.bottomRight() - QPointF(size * 0.12, size * 0.12));
        painter.end();
        struck.addPixmap(pixmap);
    }
    return struck;
}

QIcon ReadAloud::SpeechIcon()
{
    QIcon icon;
    for (const int size : {16, 20, 24, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal s = size;
        // A speech bubble with two lines of text in it.
        painter.setPen(QPen(Theme::Ink, std::max(1.0, s / 16)));
        painter.setBrush(Qt::white);
        QPainterPath bubble;
        bubble.addRoundedRect(QRectF(s * 0.08, s * 0.10, s * 0.84, s * 0.62), s * 0.14, s * 0.14);
        QPainterPath tail;
        tail.moveTo(s * 0.26, s * 0.66);
        tail.lineTo(s * 0.20, s * 0.92);
        tail.lineTo(s * 0.48, s * 0.70);
        painter.drawPath(bubble.united(tail));
        painter.setPen(QPen(Theme::Ink, std::max(1.0, s / 12), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(s * 0.24, s * 0.32), QPointF(s * 0.76, s * 0.32));
        painter.drawLine(QPointF(s * 0.24, s * 0.50), QPointF(s * 0.62, s * 0.50));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
