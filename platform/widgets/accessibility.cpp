#include "platform/widgets/accessibility.h"

#include "platform/widgets/progressbar.h"
#include "platform/widgets/statusline.h"

#include <QAbstractItemView>

#include <QAccessibleWidget>
#include <algorithm>
#include <cmath>

namespace widgets {
namespace {

class AccessibleProgressBar final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleProgressBar(ProgressBar* bar)
        : QAccessibleWidget(bar, QAccessible::ProgressBar)
    {
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ValueInterface ? static_cast<QAccessibleValueInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name || t == QAccessible::Value ? bar()->text()
                                                                 : QAccessibleWidget::text(t);
    }

    // Whole percent, as the bar shows it; a little over 100 reads as 100.
    QVariant currentValue() const override
    {
        const double value = bar()->value();
        return std::isfinite(value) ? int(std::lround(std::clamp(value, 0.0, 100.0))) : 0;
    }
    void setCurrentValue(const QVariant&) override {} // the program moves it, not the user
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    ProgressBar* bar() const { return static_cast<ProgressBar*>(widget()); }
};

// The status line: a status bar named by its text.
class AccessibleStatusLine final : public QAccessibleWidget {
public:
    explicit AccessibleStatusLine(StatusLine* line)
        : QAccessibleWidget(line, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name || t == QAccessible::Value
                   ? static_cast<StatusLine*>(widget())->text()
                   : QAccessibleWidget::text(t);
    }
};

QAccessibleInterface* factory(const QString& className, QObject* object)
{
    if (className == QLatin1String("widgets::ProgressBar"))
        return new AccessibleProgressBar(static_cast<ProgressBar*>(object));
    if (className == QLatin1String("widgets::StatusLine"))
        return new AccessibleStatusLine(static_cast<StatusLine*>(object));
    // Qt's own makes a plain widget a "client" area, also when it is the window.
    auto* widget = qobject_cast<QWidget*>(object);
    if (className == QLatin1String("QWidget") && widget && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    (void)installed;
}

void announceCheck(QAbstractItemView* view, const QModelIndex& index)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface* table = list ? list->tableInterface() : nullptr;
    QAccessibleInterface* cell = table ? table->cellAt(index.row(), index.column()) : nullptr;
    if (!cell)
        return;
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(cell, changed);
    QAccessible::updateAccessibility(&event);
}

} // namespace widgets
