#include "platform/AccessibleRole.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace
{

constexpr const char* RoleProperty = "orvaneAccessibleRole";

QAccessible::Role qtRole(AccessibleRole role)
{
    return role == AccessibleRole::Dialog ? QAccessible::Dialog : QAccessible::Window;
}

QAccessibleInterface* windowWithRole(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow())
        return nullptr;
    const QVariant role = widget->property(RoleProperty);
    if (!role.isValid())
        return nullptr;
    return new QAccessibleWidget(widget, qtRole(AccessibleRole(role.toInt())));
}

} // namespace

void setAccessibleRole(QWidget* window, AccessibleRole role)
{
    static const bool installed = [] {
        QAccessible::installFactory(&windowWithRole);
        return true;
    }();
    (void)installed;
    window->setProperty(RoleProperty, int(role));
    // An interface made before the role was known (a name set earlier tells screen
    // readers about the window) is dropped, so the next one is made with the role.
    if (QAccessibleInterface* face = QAccessible::queryAccessibleInterface(window)) {
        if (face->role() != qtRole(role))
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(face));
    }
}
