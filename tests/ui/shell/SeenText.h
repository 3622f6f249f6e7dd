#pragma once

// What a person sees of a text in labels and tool tips, for the tests that
// prove texts from files are shown as typed and never taken for markup.
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QToolTip>
#include <QWidget>

#include <gtest/gtest.h>

// The text `label` shows: as typed when Qt takes it as plain, the text of its
// markup otherwise (a picture becomes U+FFFC).
inline QString SeenText(const QLabel& label)
{
    const bool markup =
        label.textFormat() == Qt::RichText || (label.textFormat() == Qt::AutoText && Qt::mightBeRichText(label.text()));
    return markup ? QTextDocumentFragment::fromHtml(label.text()).toPlainText() : label.text();
}

// The tool tip `widget` shows for the point `at` (for an item view: its
// viewport), as seen; empty when none shows.
inline QString SeenToolTip(QWidget& widget, QPoint at)
{
    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, at, widget.mapToGlobal(at));
    QApplication::sendEvent(&widget, &help);
    QString seen;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* tip = qobject_cast<QLabel*>(top);
            tip && tip->objectName() == QLatin1String("qtooltip_label") && tip->isVisible())
            seen = SeenText(*tip);
    QToolTip::hideText();
    return seen;
}

// Some visible label below `root` shows `typed` as typed, and every label
// holding it does.
inline ::testing::AssertionResult ShowsAsTyped(const QWidget& root, const QString& typed)
{
    bool seen = false;
    QStringList misread;
    for (const QLabel* label : root.findChildren<QLabel*>()) {
        if (!label->isVisibleTo(&root))
            continue;
        const QString shown = SeenText(*label);
        if (shown.contains(typed))
            seen = true;
        else if (label->text().contains(typed))
            misread << label->objectName() + QStringLiteral(" shows \"") + shown + QLatin1Char('"');
    }
    if (!misread.isEmpty())
        return ::testing::AssertionFailure()
               << typed.toStdString() << ": " << misread.join(QStringLiteral("; ")).toStdString();
    if (!seen)
        return ::testing::AssertionFailure() << typed.toStdString() << " is shown nowhere";
    return ::testing::AssertionSuccess();
}
