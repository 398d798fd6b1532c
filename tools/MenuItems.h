#pragma once

// Menu items of the main window's tool menus, named after their control and index so
// they can be found by name (frmOrvane's "mnuForce2" ...), and the handlers that run
// when a menu opens.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <functional>

inline QAction* addMenuItem(QMenu* menu, const QString& caption, const QString& name)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

inline QString itemName(const char* control, int index)
{
    return QString::fromLatin1(control) + QString::number(index);
}

// Runs `handler` each time `menu` opens. When `boxAhead` says the handler is going to
// show a message box, the handler waits until the menus have closed: a box opened while
// a menu drops down pulls the menu out from under its own popup code.
inline void whenMenuOpens(QMenu* menu, QObject* context, std::function<bool()> boxAhead,
                          std::function<void()> handler)
{
    QObject::connect(menu, &QMenu::aboutToShow, context, [context, boxAhead, handler] {
        if (!boxAhead || !boxAhead()) {
            handler();
            return;
        }
        QMetaObject::invokeMethod(
            context,
            [handler] {
                for (int open = 0; open < 8 && QApplication::activePopupWidget(); ++open)
                    QApplication::activePopupWidget()->close();
                handler();
            },
            Qt::QueuedConnection);
    });
}
