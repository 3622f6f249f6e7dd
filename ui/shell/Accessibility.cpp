#include "ui/shell/Accessibility.h"

#include "ui/shell/KQ_ClickMatrix.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>

namespace {

QString plain(QString text)
{
    // Mnemonics and the colon of a label are no part of the name: every "&"
    // goes but the first of "&&".
    QString name;
    name.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] != QLatin1Char('&') || (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')))
            name += text[i];
    text = name;
    text = text.simplified();
    while (text.endsWith(QLatin1Char(':')) || text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text.trimmed();
}

// A control the learner operates; labels, frames and the inner parts of
// composite controls are not announced on their own.
bool isControl(const QWidget* widget)
{
    if (qobject_cast<const TKQ_ClickMatrix*>(widget))
        return true;
    const QWidget* parent = widget->parentWidget();
    if (parent && (qobject_cast<const QAbstractSpinBox*>(parent) || qobject_cast<const QComboBox*>(parent)))
        return false;
    // Scroll bars belong to their scroll area; a tab bar is announced through its named tabs.
    if (qobject_cast<const QScrollBar*>(widget) || qobject_cast<const QTabBar*>(widget))
        return false;
    return qobject_cast<const QAbstractButton*>(widget) || qobject_cast<const QLineEdit*>(widget)
           || qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget)
           || qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const QTextEdit*>(widget)
           || qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const QAbstractSlider*>(widget);
}

QString accessibleText(QWidget* widget, QAccessible::Text text)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(text).trimmed() : QString();
}

QString labelText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->isVisibleTo(label->window()))
        return plain(label->text());
    return {};
}

// The label the layout puts before the control: the form's label, the grid
// cell to its left, or the item before it in a row.
QString neighbourLabel(QWidget* widget)
{
    QWidget* parent = widget->parentWidget();
    QLayout* layout = parent ? parent->layout() : nullptr;
    if (!layout)
        return {};
    if (auto* form = qobject_cast<QFormLayout*>(layout))
        if (QWidget* label = form->labelForField(widget))
            return labelText(label);
    // The control may sit in a nested layout; find the layout that holds it.
    QList<QLayout*> pending{layout};
    while (!pending.isEmpty()) {
        QLayout* current = pending.takeFirst();
        const int index = current->indexOf(widget);
        if (index >= 0) {
            if (auto* grid = qobject_cast<QGridLayout*>(current)) {
                int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
                grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
                for (int c = column - 1; c >= 0; --c)
                    if (QLayoutItem* item = grid->itemAtPosition(row, c); item && item->widget())
                        return labelText(item->widget());
                if (row > 0)
                    if (QLayoutItem* item = grid->itemAtPosition(row - 1, column); item && item->widget())
                        return labelText(item->widget());
                return {};
            }
            if (index > 0)
                if (QLayoutItem* item = current->itemAt(index - 1); item && item->widget())
                    return labelText(item->widget());
            return {};
        }
        for (int i = 0; i < current->count(); ++i)
            if (QLayout* child = current->itemAt(i)->layout())
                pending << child;
    }
    return {};
}

QString groupTitle(const QWidget* widget)
{
    for (const QWidget* w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (const auto* group = qobject_cast<const QGroupBox*>(w); group && !group->title().isEmpty())
            return plain(group->title());
    return {};
}

QString derivedName(QWidget* widget, const QString& context)
{
    // An icon button says what it does in its tool tip; the label beside it names the field it serves.
    if (qobject_cast<const QAbstractButton*>(widget) && !widget->toolTip().isEmpty())
        return plain(widget->toolTip());
    if (QString label = neighbourLabel(widget); !label.isEmpty())
        return label;
    if (const auto* edit = qobject_cast<const QLineEdit*>(widget); edit && !edit->placeholderText().isEmpty())
        return plain(edit->placeholderText());
    if (!widget->toolTip().isEmpty())
        return plain(widget->toolTip());
    if (QString group = groupTitle(widget); !group.isEmpty())
        return group;
    // A list or tile menu that fills a screen is what the screen is about.
    if (qobject_cast<const QAbstractItemView*>(widget) || qobject_cast<const TKQ_ClickMatrix*>(widget))
        return plain(context);
    return {};
}

} // namespace

namespace Accessibility {

void Describe(QWidget* root, const QString& context)
{
    if (!root)
        return;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : std::as_const(widgets)) {
        if (!isControl(widget))
            continue;
        if (accessibleText(widget, QAccessible::Name).isEmpty()) {
            const QString name = derivedName(widget, context);
            if (!name.isEmpty())
                widget->setAccessibleName(name);
        }
        if (accessibleText(widget, QAccessible::Description).isEmpty()) {
            const QString group = groupTitle(widget);
            QString where = plain(context);
            if (!group.isEmpty())
                where = where.isEmpty() ? group : where + QStringLiteral(", Bereich ") + group;
            if (!where.isEmpty())
                widget->setAccessibleDescription(where);
        }
    }
}

QStringList Incomplete(QWidget* root)
{
    QStringList found;
    if (!root)
        return found;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : std::as_const(widgets)) {
        if (!isControl(widget) || !widget->isVisibleTo(root->window()))
            continue;
        const QString label = QStringLiteral("%1 (%2)").arg(widget->objectName(),
                                                           QString::fromLatin1(widget->metaObject()->className()));
        if (accessibleText(widget, QAccessible::Name).isEmpty())
            found << label + QStringLiteral(": ohne Namen");
        if (accessibleText(widget, QAccessible::Description).isEmpty())
            found << label + QStringLiteral(": ohne Beschreibung");
        if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
            iface && qobject_cast<TKQ_ClickMatrix*>(widget)) {
            for (int i = 0; i < iface->childCount(); ++i)
                if (QAccessibleInterface* tile = iface->child(i); tile && tile->text(QAccessible::Name).isEmpty())
                    found << label + QStringLiteral(": Kachel %1 ohne Namen").arg(i + 1);
        }
    }
    return found;
}

} // namespace Accessibility
