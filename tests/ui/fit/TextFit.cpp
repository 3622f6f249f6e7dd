#include "tests/ui/fit/TextFit.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSet>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeView>

namespace {

// Rows of an item view that are looked at: the first screenful a learner sees.
constexpr int FirstRows = 8;

QString nameOf(const QWidget* widget)
{
    return widget->objectName().isEmpty() ? QString::fromLatin1(widget->metaObject()->className())
                                          : widget->objectName();
}

// "Label_Time in Panel_Content": the control and its nearest named parent.
QString controlName(const QWidget* widget)
{
    QString name = nameOf(widget);
    for (const QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget())
        if (!parent->objectName().isEmpty() && !parent->objectName().startsWith(QLatin1String("qt_"))) {
            name += QStringLiteral(" in ") + parent->objectName();
            break;
        }
    return name;
}

// The screen, frame or window a control belongs to: the nearest class of the program's own.
QString ownerOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QLatin1String name(w->metaObject()->className());
        if (name.startsWith(QLatin1String("TForm")) || name.startsWith(QLatin1String("TFrame")) || w->isWindow())
            return name;
    }
    return {};
}

// The text as drawn: "&&" is one ampersand, a single "&" marks the shortcut.
QString shownText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown.append(text.at(i));
    }
    return shown;
}

// The widest line of a text that may hold line breaks.
int textWidth(const QFontMetrics& metrics, const QString& text)
{
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

bool isScrollViewport(const QWidget* widget)
{
    const auto* area = qobject_cast<const QAbstractScrollArea*>(widget->parentWidget());
    return area && area->viewport() == widget;
}

// Compound widgets draw their own children; only their outside counts.
bool isCompound(const QWidget* widget)
{
    return qobject_cast<const QAbstractScrollArea*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QTabBar*>(widget) ||
           qobject_cast<const QLineEdit*>(widget);
}

// A control a learner reads or uses; a sibling lying over it hides it. A
// label without text is a picture, and a caption may lie on a picture.
bool isControl(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty();
    return qobject_cast<const QAbstractButton*>(widget) ||
           qobject_cast<const QComboBox*>(widget) || qobject_cast<const QGroupBox*>(widget) ||
           qobject_cast<const QTabBar*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QTextEdit*>(widget);
}

class Checker
{
public:
    explicit Checker(QWidget* top) : root(top) {}

    void Tree(QWidget* widget)
    {
        if (!widget->isVisible())
            return;
        Control(widget);
        if (!isCompound(widget) || qobject_cast<QAbstractScrollArea*>(widget))
            Overlaps(widget);
        if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
            ItemView(view);
            return;
        }
        if (isCompound(widget))
            return;
        for (QObject* child : widget->children())
            if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
                Tree(w);
        if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            OtherPages(tabs);
    }

    QList<TextMisfit> Found;

private:
    void Add(const QWidget* widget, const QString& text, const QString& problem)
    {
        TextMisfit misfit{ownerOf(widget), controlName(widget), text, problem};
        if (!seen.contains(misfit.Key())) {
            seen.insert(misfit.Key());
            Found.append(misfit);
        }
    }
    static QString size(const QSize& s) { return QStringLiteral("%1x%2").arg(s.width()).arg(s.height()); }
    void TooSmall(const QWidget* widget, const QString& text, const QSize& has, const QSize& needs)
    {
        Add(widget, text, QStringLiteral("needs %1, has %2").arg(size(needs), size(has)));
    }

    void Control(QWidget* widget)
    {
        QString text;
        if (auto* label = qobject_cast<QLabel*>(widget))
            text = Label(label);
        else if (auto* push = qobject_cast<QPushButton*>(widget))
            text = PushButton(push);
        else if (auto* tool = qobject_cast<QToolButton*>(widget))
            text = ToolButton(tool);
        else if (qobject_cast<QRadioButton*>(widget) || qobject_cast<QCheckBox*>(widget))
            text = Natural(widget, static_cast<QAbstractButton*>(widget)->text());
        else if (auto* combo = qobject_cast<QComboBox*>(widget))
            text = Combo(combo);
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            text = Group(group);
        else if (auto* bar = qobject_cast<QTabBar*>(widget))
            TabBar(bar);
        if (!text.isEmpty())
            Clipped(widget, text);
    }

    // A control whose natural size (its size hint) is its text's size.
    QString Natural(QWidget* widget, const QString& text)
    {
        if (text.isEmpty())
            return {};
        const QSize needs = widget->sizeHint();
        if (widget->width() < needs.width() || widget->height() < needs.height())
            TooSmall(widget, shownText(text), widget->size(), needs);
        return text;
    }

    QString Label(QLabel* label)
    {
        const QString text = label->text();
        if (text.isEmpty())
            return {};
        if (!label->wordWrap())
            return Natural(label, text);
        const int height = label->heightForWidth(label->width());
        if (height > label->height())
            TooSmall(label, text, label->size(), QSize(label->width(), height));
        // A word longer than the line is cut even when the label wraps.
        if (label->textFormat() != Qt::RichText && !Qt::mightBeRichText(text)) {
            const QFontMetrics metrics(label->font());
            int longest = 0;
            for (const QString& word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
                longest = std::max(longest, metrics.horizontalAdvance(word));
            const int room = label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
            if (longest > room)
                TooSmall(label, text, label->size(), QSize(label->width() - room + longest, height));
        }
        return text;
    }

    QString PushButton(QPushButton* button)
    {
        const QString text = shownText(button->text());
        if (text.isEmpty())
            return {};
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        if (button->isDefault())
            option.features |= QStyleOptionButton::DefaultButton;
        if (button->isFlat())
            option.features |= QStyleOptionButton::Flat;
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics(button->font());
        int width = textWidth(metrics, text);
        if (!option.icon.isNull())
            width += option.iconSize.width() + 4;
        if (button->menu())
            width += button->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, button);
        const int height = metrics.height() * int(text.count(QLatin1Char('\n')) + 1);
        if (width > room.width() || height > room.height())
            TooSmall(button, text, button->size(), button->size() + QSize(std::max(0, width - room.width()),
                                                                         std::max(0, height - room.height())));
        return text;
    }

    QString ToolButton(QToolButton* button)
    {
        const bool showsText = button->toolButtonStyle() != Qt::ToolButtonIconOnly || button->icon().isNull();
        return showsText ? Natural(button, button->text()) : QString();
    }

    QString Combo(QComboBox* combo)
    {
        if (combo->isEditable() || combo->count() == 0)
            return {};
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = false;
        option.frame = combo->hasFrame();
        option.currentText = combo->currentText();
        option.subControls = QStyle::SC_All;
        const QRect field =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        const QFontMetrics metrics(combo->font());
        // Every entry may be the chosen one.
        for (int i = 0; i < combo->count(); ++i) {
            const QString item = combo->itemText(i);
            int width = metrics.horizontalAdvance(item);
            if (!combo->itemIcon(i).isNull())
                width += combo->iconSize().width() + 4;
            if (width > field.width()) {
                TooSmall(combo, item, combo->size(), combo->size() + QSize(width - field.width(), 0));
                return item;
            }
        }
        if (metrics.height() > field.height())
            TooSmall(combo, combo->currentText(), combo->size(),
                     combo->size() + QSize(0, metrics.height() - field.height()));
        return combo->currentText();
    }

    QString Group(QGroupBox* group)
    {
        if (group->title().isEmpty())
            return {};
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.lineWidth = 1;
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        if (group->isCheckable())
            option.subControls |= QStyle::SC_GroupBoxCheckBox;
        const QRect label =
            group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
        const int width = QFontMetrics(group->font()).horizontalAdvance(shownText(group->title()));
        if (width > label.width() || !group->rect().contains(label))
            TooSmall(group, shownText(group->title()), group->size(), group->sizeHint());
        return group->title();
    }

    void TabBar(QTabBar* bar)
    {
        const QFontMetrics metrics(bar->font());
        const int space = bar->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, bar);
        for (int i = 0; i < bar->count(); ++i) {
            if (!bar->isTabVisible(i))
                continue;
            const QString text = shownText(bar->tabText(i));
            const QRect tab = bar->tabRect(i);
            int width = metrics.horizontalAdvance(text) + space;
            if (!bar->tabIcon(i).isNull())
                width += bar->iconSize().width() + 4;
            if (tab.width() < width)
                Add(bar, text, QStringLiteral("tab needs %1 pixels, has %2").arg(width).arg(tab.width()));
            else if (!bar->rect().contains(tab))
                Add(bar, text, QStringLiteral("tab lies outside its bar"));
        }
    }

    void Header(QHeaderView* header)
    {
        if (!header->isVisible() || !header->model())
            return;
        const QFontMetrics metrics(header->font());
        const bool horizontal = header->orientation() == Qt::Horizontal;
        // A list wider than its view scrolls: a section at or beyond the edge shows whole once scrolled to.
        const auto* view = qobject_cast<const QAbstractScrollArea*>(header->parentWidget());
        const bool scrolls =
            view && (horizontal ? view->horizontalScrollBar() : view->verticalScrollBar())->maximum() > 0;
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section))
                continue;
            const QString text =
                header->model()->headerData(section, header->orientation(), Qt::DisplayRole).toString();
            if (text.isEmpty())
                continue;
            QStyleOptionHeader option;
            option.initFrom(header);
            option.orientation = header->orientation();
            option.section = section;
            option.text = text;
            option.textAlignment = header->defaultAlignment();
            option.iconAlignment = Qt::AlignVCenter;
            const int position = header->sectionViewportPosition(section);
            option.rect = horizontal ? QRect(position, 0, header->sectionSize(section), header->height())
                                     : QRect(0, position, header->width(), header->sectionSize(section));
            if (header->isSortIndicatorShown() && header->sortIndicatorSection() == section)
                option.sortIndicator = header->sortIndicatorOrder() == Qt::AscendingOrder
                                           ? QStyleOptionHeader::SortDown
                                           : QStyleOptionHeader::SortUp;
            const QRect label = header->style()->subElementRect(QStyle::SE_HeaderLabel, &option, header);
            const QRect visible = scrolls ? label : label & header->rect();
            const int width = textWidth(metrics, text);
            if (width > visible.width())
                Add(header, text,
                    QStringLiteral("column header needs %1 pixels, shows %2").arg(width).arg(visible.width()));
        }
    }

    void ItemView(QAbstractItemView* view)
    {
        if (auto* tree = qobject_cast<QTreeView*>(view); tree && !tree->isHeaderHidden())
            Header(tree->header());
        QAbstractItemModel* model = view->model();
        if (!model)
            return;
        const QRect viewport = view->viewport()->rect();
        const bool scrollsSideways = view->horizontalScrollBar()->maximum() > 0;
        auto* tree = qobject_cast<QTreeView*>(view);
        const int rows = std::min(model->rowCount(view->rootIndex()), FirstRows);
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < model->columnCount(view->rootIndex()); ++column) {
                if (tree && tree->isColumnHidden(column))
                    continue;
                const QModelIndex index = model->index(row, column, view->rootIndex());
                const QString text = index.data(Qt::DisplayRole).toString();
                if (text.isEmpty())
                    continue;
                const QRect cell = view->visualRect(index);
                const QRect visible = cell & viewport;
                // Rows below the first screenful are not shown at all, nor are columns scrolled away in a
                // list that does not scroll sideways; one that does shows each cell whole once scrolled to.
                if (cell.top() < viewport.top() || cell.bottom() > viewport.bottom())
                    continue;
                const QRect shown = scrollsSideways ? cell : visible;
                if (shown.isEmpty())
                    continue;
                QStyleOptionViewItem option;
                option.initFrom(view);
                option.font = view->font();
                option.fontMetrics = QFontMetrics(option.font);
                const int small = view->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, view);
                option.decorationSize = view->iconSize().isValid() ? view->iconSize() : QSize(small, small);
                option.decorationPosition = QStyleOptionViewItem::Left;
                option.decorationAlignment = Qt::AlignCenter;
                option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
                option.textElideMode = view->textElideMode();
                option.rect = cell;
                const QSize needs = view->itemDelegateForIndex(index)->sizeHint(option, index);
                if (needs.width() > shown.width())
                    Add(view, text,
                        QStringLiteral("cell in row %1 needs %2 pixels, shows %3")
                            .arg(row + 1)
                            .arg(needs.width())
                            .arg(shown.width()));
                else if (needs.height() > cell.height())
                    Add(view, text,
                        QStringLiteral("row %1 needs %2 pixels height, has %3")
                            .arg(row + 1)
                            .arg(needs.height())
                            .arg(cell.height()));
            }
    }

    // An ancestor that is smaller than the control cuts it; a scrolling area does not.
    void Clipped(QWidget* widget, const QString& text)
    {
        QRect rect = widget->rect();
        QWidget* child = widget;
        for (QWidget* parent = widget->parentWidget(); parent && child != root; parent = parent->parentWidget()) {
            rect.translate(child->pos());
            if (isScrollViewport(parent))
                return;
            if (!parent->rect().contains(rect)) {
                Add(widget, shownText(text), QStringLiteral("cut off by %1").arg(nameOf(parent)));
                return;
            }
            child = parent;
        }
    }

    // Where a control shows something, in its parent's coordinates: a label
    // only where its text is drawn, any other control all over.
    static QRect shownRect(const QWidget* widget)
    {
        auto* label = qobject_cast<const QLabel*>(widget);
        if (!label || label->text().isEmpty())
            return widget->geometry();
        const QRect room = label->contentsRect();
        const QSize text = label->wordWrap() ? QSize(room.width(), label->heightForWidth(label->width()))
                                             : label->sizeHint();
        return QStyle::alignedRect(label->layoutDirection(), label->alignment(), text.boundedTo(room.size()), room)
            .translated(label->pos());
    }

    // Two labels of the same text one pixel apart are a text and its shadow.
    static bool isShadow(const QWidget* a, const QWidget* b)
    {
        auto* first = qobject_cast<const QLabel*>(a);
        auto* second = qobject_cast<const QLabel*>(b);
        return first && second && first->text() == second->text() &&
               (first->pos() - second->pos()).manhattanLength() <= 4;
    }

    // Siblings stack in the order of their parent's children: a later one lies
    // above. A control under any sibling is hidden there; a caption on a
    // picture or a plain panel is not.
    void Overlaps(QWidget* parent)
    {
        QList<QWidget*> shown;
        for (QObject* child : parent->children())
            if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow() && w->isVisible())
                shown.append(w);
        if (auto* area = qobject_cast<QAbstractScrollArea*>(parent))
            shown.removeIf([area](QWidget* w) { return w != area->viewport(); });
        for (qsizetype below = 0; below < shown.size(); ++below)
            for (qsizetype above = below + 1; above < shown.size(); ++above) {
                QWidget* lower = shown.at(below);
                QWidget* upper = shown.at(above);
                if (!isControl(lower) || isShadow(lower, upper))
                    continue;
                const QRect covered = isControl(upper) ? shownRect(upper) : upper->geometry();
                if (shownRect(lower).intersects(covered))
                    Add(lower, ownText(lower), QStringLiteral("lies under %1").arg(controlName(upper)));
            }
    }

    static QString ownText(const QWidget* widget)
    {
        if (auto* label = qobject_cast<const QLabel*>(widget))
            return label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(widget))
            return shownText(button->text());
        if (auto* combo = qobject_cast<const QComboBox*>(widget))
            return combo->currentText();
        return {};
    }

    // Each page of a tab widget is shown in turn, as a learner clicks through the tabs.
    void OtherPages(QTabWidget* tabs)
    {
        const int current = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            if (i == current || !tabs->isTabEnabled(i) || !tabs->isTabVisible(i))
                continue;
            tabs->setCurrentIndex(i);
            QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
            QApplication::processEvents();
            Tree(tabs->widget(i));
        }
        tabs->setCurrentIndex(current);
        QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QApplication::processEvents();
    }

    QWidget* root;
    QSet<QString> seen;
};

} // namespace

QList<TextMisfit> FindTextMisfits(QWidget* root)
{
    Checker checker(root);
    checker.Tree(root);
    return checker.Found;
}
