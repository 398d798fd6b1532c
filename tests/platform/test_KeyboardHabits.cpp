#include "platform/KeyboardHabits.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace
{
// The filter is installed once for the whole test program, as main() does.
void enterPressesButtons()
{
    static bool installed = false;
    if (!installed)
        letEnterPressButtons(qApp);
    installed = true;
}

void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}
} // namespace

TEST(KeyboardHabits, EnterAndKeypadEnterPressTheFocusedButtonInAnyWindow)
{
    enterPressesButtons();
    struct Case {
        const char* what;
        bool inDialog;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool enabled;
        int focusedPresses;
        int otherPresses;
    };
    const Case cases[] = {
        {"Enter, plain window", false, Qt::Key_Return, {}, true, 1, 0},
        {"keypad Enter, plain window", false, Qt::Key_Enter, Qt::KeypadModifier, true, 1, 0},
        {"Space, plain window", false, Qt::Key_Space, {}, true, 1, 0},
        {"Enter, dialog with another default", true, Qt::Key_Return, {}, true, 1, 0},
        {"keypad Enter, dialog", true, Qt::Key_Enter, Qt::KeypadModifier, true, 1, 0},
        {"Shift+Enter is not Enter", false, Qt::Key_Return, Qt::ShiftModifier, true, 0, 0},
        {"disabled button", false, Qt::Key_Return, {}, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<QWidget> window(c.inDialog ? new QDialog : new QWidget);
        auto* layout = new QVBoxLayout(window.get());
        auto* other = new QPushButton("&Other", window.get());
        auto* focused = new QPushButton("&Stop", window.get());
        layout->addWidget(other);
        layout->addWidget(focused);
        other->setDefault(c.inDialog);
        int focusedPresses = 0;
        int otherPresses = 0;
        QObject::connect(focused, &QPushButton::clicked, [&] { ++focusedPresses; });
        QObject::connect(other, &QPushButton::clicked, [&] { ++otherPresses; });
        showActive(*window);
        focused->setFocus();
        focused->setEnabled(c.enabled);
        QTest::keyClick(focused, c.key, c.modifiers);
        EXPECT_EQ(focusedPresses, c.focusedPresses);
        EXPECT_EQ(otherPresses, c.otherPresses);
    }
}

TEST(KeyboardHabits, EnterInATextBoxIsLeftToTheTextBox)
{
    enterPressesButtons();
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* text = new QLineEdit(&dialog);
    auto* ok = new QPushButton("OK", &dialog);
    layout->addWidget(text);
    layout->addWidget(ok);
    ok->setDefault(true);
    int returns = 0;
    QObject::connect(text, &QLineEdit::returnPressed, [&] { ++returns; });
    showActive(dialog);
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(returns, 1);
}

// A Ctrl shortcut fires whatever other modifiers are held, including one added
// after the window was built; a shortcut of its own for the fuller combination wins.
TEST(KeyboardHabits, CtrlShortcutsFireWithExtraModifiers)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* field = new QLineEdit(&window);
    layout->addWidget(field);
    letCtrlShortcutsTakeExtraModifiers(&window);
    int plain = 0;
    int exact = 0;
    int menu = 0;
    auto* later = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), &window);
    QObject::connect(later, &QShortcut::activated, [&] { ++plain; });
    auto* own = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G), &window);
    QObject::connect(own, &QShortcut::activated, [&] { ++exact; });
    auto* action = new QAction("Import", &window);
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++menu; });
    showActive(window);
    field->setFocus();

    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int plain, exact, menu;
    };
    const Case cases[] = {
        {Qt::Key_G, Qt::ControlModifier, 1, 0, 0},
        {Qt::Key_G, Qt::ControlModifier | Qt::AltModifier, 1, 0, 0},
        {Qt::Key_G, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier, 1, 0, 0},
        {Qt::Key_G, Qt::ControlModifier | Qt::MetaModifier, 1, 0, 0},
        {Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier, 0, 1, 0},
        {Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier, 0, 0, 1},
        {Qt::Key_G, Qt::AltModifier | Qt::ShiftModifier, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.modifiers | c.key).toString().toStdString());
        plain = exact = menu = 0;
        QTest::keyClick(field, c.key, c.modifiers);
        EXPECT_EQ(plain, c.plain);
        EXPECT_EQ(exact, c.exact);
        EXPECT_EQ(menu, c.menu);
    }
    action->setEnabled(false);
    menu = 0;
    QTest::keyClick(field, Qt::Key_I, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(menu, 0) << "a disabled command stays off";
}

TEST(KeyboardHabits, AMenuTitleTakesTheAccessLetterItSharesWithAButton)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new QMenuBar(&window);
    bar->addMenu("&Programs");
    bar->addMenu("&Help");
    auto* shared = new QPushButton("&Pictor", &window);
    auto* own = new QPushButton("E&xit", &window);
    layout->addWidget(shared);
    layout->addWidget(own);
    letMenusTakeSharedAccessKeys(bar, &window);
    EXPECT_TRUE(shared->shortcut().isEmpty());
    EXPECT_EQ(shared->text(), "&Pictor") << "the caption keeps its underline";
    EXPECT_EQ(own->shortcut(), QKeySequence(Qt::ALT | Qt::Key_X));
}
