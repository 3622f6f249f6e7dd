#include "ui/shell/PlainText.h"

#include <QLabel>
#include <QTextDocument>

QLabel* AsPlainText(QLabel* label)
{
    label->setTextFormat(Qt::PlainText);
    return label;
}

QString PlainToolTip(const QString& text)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}
