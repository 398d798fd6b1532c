#include "platform/KeyboardHabits.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QShortcut>

#include <algorithm>

namespace
{
class EnterPressesButtons : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible())
            return false;
        // Held down, Enter presses once, as a button is pressed once per key stroke.
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

class CtrlTakesExtraModifiers : public QObject
{
public:
    explicit CtrlTakesExtraModifiers(QWidget* window) : QObject(window), m_window(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || !m_window)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
        if (!(held & Qt::ControlModifier) || held == Qt::ControlModifier)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != m_window)
            return false;
        const QKeySequence plain(QKeyCombination(Qt::ControlModifier, Qt::Key(key->key())));
        // An exact shortcut for the whole combination has already fired before the
        // key reached any widget; this is only for combinations nobody took.
        for (QShortcut* shortcut : m_window->findChildren<QShortcut*>()) {
            if (shortcut->isEnabled() && shortcut->keys().contains(plain)) {
                emit shortcut->activated();
                return true;
            }
        }
        for (QAction* action : m_window->findChildren<QAction*>()) {
            if (action->isEnabled() && action->shortcuts().contains(plain)) {
                action->trigger();
                return true;
            }
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
};
} // namespace

void letEnterPressButtons(QCoreApplication* app)
{
    app->installEventFilter(new EnterPressesButtons(app));
}

void letCtrlShortcutsTakeExtraModifiers(QWidget* window)
{
    qApp->installEventFilter(new CtrlTakesExtraModifiers(window));
}

void letMenusTakeSharedAccessKeys(const QMenuBar* bar, QWidget* controls)
{
    QList<QKeySequence> menuKeys;
    for (const QAction* menu : bar->actions())
        menuKeys << QKeySequence::mnemonic(menu->text());
    for (QAbstractButton* button : controls->findChildren<QAbstractButton*>()) {
        const QKeySequence own = QKeySequence::mnemonic(button->text());
        if (!own.isEmpty() && menuKeys.contains(own))
            button->setShortcut(QKeySequence());
    }
}

namespace
{
void setOptionStops(QWidget* parent)
{
    const QList<QRadioButton*> group =
        parent->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly);
    const auto usable = [](const QRadioButton* b) {
        return b->isChecked() && b->isEnabled() && !b->isHidden();
    };
    const bool oneStop = std::any_of(group.begin(), group.end(), usable);
    for (QRadioButton* b : group) {
        if (!b->autoExclusive())
            continue;
        // Click focus keeps the button reachable by the mouse and the arrow keys.
        b->setFocusPolicy(!oneStop || usable(b) ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

// Follows a group's buttons being checked, enabled and shown.
class OptionStopWatch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type t = event->type();
        if (t == QEvent::EnabledChange || t == QEvent::ShowToParent || t == QEvent::HideToParent)
            setOptionStops(static_cast<QWidget*>(watched)->parentWidget());
        return false;
    }
};
} // namespace

void letTabStopAtCheckedOptions(QWidget* window)
{
    auto* watch = new OptionStopWatch(window);
    QSet<QWidget*> parents;
    for (QRadioButton* b : window->findChildren<QRadioButton*>()) {
        QWidget* parent = b->parentWidget();
        parents.insert(parent);
        b->installEventFilter(watch);
        QObject::connect(b, &QAbstractButton::toggled, window,
                         [parent] { setOptionStops(parent); });
    }
    for (QWidget* parent : parents)
        setOptionStops(parent);
}
