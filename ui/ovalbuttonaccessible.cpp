#include "ui/ovalbuttonaccessible.h"

#include "ui/captionlayout.h"
#include "ui/tovalbutton.h"

namespace qm {
namespace {

QAccessibleInterface* ovalButtonFactory(const QString& className, QObject* object)
{
    auto* button = className == QLatin1String(TOvalButton::staticMetaObject.className())
        ? qobject_cast<TOvalButton*>(object) : nullptr;
    return button != nullptr ? new OvalButtonAccessible(button) : nullptr;
}

} // namespace

OvalButtonAccessible::OvalButtonAccessible(TOvalButton* button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

TOvalButton* OvalButtonAccessible::button() const { return static_cast<TOvalButton*>(widget()); }

QString OvalButtonAccessible::text(QAccessible::Text t) const
{
    QString value = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && value.isEmpty())
        value = CaptionLayout::Of(button()->Font(), button()->Caption()).Shown();
    return value;
}

QAccessible::State OvalButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.pressed = button()->BevelState() < 0;
    return state;
}

QStringList OvalButtonAccessible::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (button()->isEnabled())
        names.prepend(pressAction());
    return names;
}

void OvalButtonAccessible::doAction(const QString& actionName)
{
    // A press by an assistive tool is a whole click: there is no pointer whose position could stop it.
    if (actionName == pressAction()) {
        if (button()->isEnabled())
            emit button()->OnClick();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

void installOvalButtonAccessibility() { QAccessible::installFactory(ovalButtonFactory); }

} // namespace qm
