#include "ui/query/MarkedTextLabel.h"

#include "ui/shell/Theme.h"

#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

TMarkedTextLabel::TMarkedTextLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

void TMarkedTextLabel::ClearMarks()
{
    marked.clear();
    gaps.clear();
    update();
}

void TMarkedTextLabel::SetMarks(const TQVL_AnswerDiff::Parts& parts, int offset)
{
    ClearMarks();
    const QString shown = text();
    int position = offset;
    for (const TQVL_AnswerDiff::Part& part : parts) {
        if (part.What == TQVL_AnswerDiff::Kind::Missing) {
            gaps.push_back(position);
            continue;
        }
        if (shown.mid(position, part.Text.size()) != part.Text) {
            // The parts belong to another text: better no marks than wrong ones.
            ClearMarks();
            return;
        }
        if (part.What == TQVL_AnswerDiff::Kind::Differs)
            marked.push_back({position, int(part.Text.size())});
        position += int(part.Text.size());
    }
    update();
}

void TMarkedTextLabel::paintEvent(QPaintEvent* event)
{
    if (marked.empty() && gaps.empty()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QTextLayout layout(text(), font());
    QList<QTextLayout::FormatRange> formats;
    for (const Range& range : marked) {
        QTextLayout::FormatRange format;
        format.start = range.Start;
        format.length = range.Length;
        format.format.setForeground(Theme::Warning);
        format.format.setFontUnderline(true);
        formats.append(format);
    }
    layout.setFormats(formats);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(1e6);
    layout.endLayout();
    const QRect room = contentsRect();
    const QPointF origin(room.left(), room.top() + (room.height() - line.height()) / 2);
    painter.setPen(palette().color(QPalette::WindowText));
    layout.draw(&painter, origin);

    // A caret below the line where characters are missing.
    painter.setPen(QPen(Theme::Warning, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal baseline = origin.y() + line.ascent();
    for (const int gap : gaps) {
        const qreal x = origin.x() + line.cursorToX(gap);
        QPainterPath caret;
        caret.moveTo(x - 3, baseline + 4);
        caret.lineTo(x, baseline);
        caret.lineTo(x + 3, baseline + 4);
        painter.drawPath(caret);
    }
}
