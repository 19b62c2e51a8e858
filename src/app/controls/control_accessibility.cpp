#include "controls/control_accessibility.h"

#include "controls/eliding_combo_box.h"
#include "controls/input_controls.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>

namespace {

// A list is announced by its caption, and its entry is its value. The toolkit's own description
// of a combo box on Unix names the box after its entry, so "Program" would be heard where the
// caption says "Bundle", and the caption would never be heard at all.
class ListAccessibility : public QAccessibleWidget {
public:
    explicit ListAccessibility(ElidingComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Value ? list()->currentText() : QAccessibleWidget::text(t);
    }

    // The open list is the one child, so the entries can be read and picked one by one.
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    // A list hidden or disabled is out of reach, as it is for the mouse.
    QStringList actionNames() const override
    {
        if (!reachable())
            return QAccessibleWidget::actionNames();
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    // Opening the list is all an action does: the pick inside it is the user's, and reaches
    // the change handler as a pick by mouse or key does.
    void doAction(const QString& action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return QAccessibleWidget::doAction(action);
        if (!reachable())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

private:
    ElidingComboBox* list() const { return static_cast<ElidingComboBox*>(widget()); }
    bool reachable() const { return list()->isVisible() && list()->isEnabled(); }
};

// The toolkit toggles a check box for assistive technology by setting its state, which is what
// loading a saved order does too; the window acts on clicks alone. Toggling here is a click, so
// the action reaches the same handler as the mouse and the Space key.
class CheckBoxAccessibility : public QAccessibleWidget {
public:
    explicit CheckBoxAccessibility(AreaCheckBox* box)
        : QAccessibleWidget(box, QAccessible::CheckBox)
    {}

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = box()->text().remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = box()->isChecked();
        return state;
    }

    QStringList actionNames() const override
    {
        if (!box()->isEnabled())
            return QAccessibleWidget::actionNames();
        return QStringList{toggleAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if ((action == toggleAction() || action == pressAction()) && box()->isEnabled())
            box()->click();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    AreaCheckBox* box() const { return static_cast<AreaCheckBox*>(widget()); }
};

QAccessibleInterface* controlAccessibility(const QString& className, QObject* object)
{
    if (className == QLatin1String(ElidingComboBox::staticMetaObject.className()))
        return new ListAccessibility(static_cast<ElidingComboBox*>(object));
    if (className == QLatin1String(AreaCheckBox::staticMetaObject.className()))
        return new CheckBoxAccessibility(static_cast<AreaCheckBox*>(object));
    return nullptr;
}

} // namespace

void InstallControlAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlAccessibility);
        return true;
    }();
    Q_UNUSED(installed);
}
