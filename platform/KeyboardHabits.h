#pragma once

// The keyboard as users of the suite's other programs know it, where Qt differs.

class QCoreApplication;
class QMenuBar;
class QWidget;

// Enter and keypad Enter press the push button that has the focus, in every window,
// as Space does.
void letEnterPressButtons(QCoreApplication* app);

// A Ctrl shortcut of `window` (a QShortcut or a QAction with Ctrl and one key) also
// fires with Shift, Alt or Meta held as well, unless a shortcut of its own takes
// that combination. Shortcuts added later are covered too.
void letCtrlShortcutsTakeExtraModifiers(QWidget* window);

// Where a button under `controls` has the access letter of one of the menu bar's
// titles, Alt+letter opens the menu at the first press; the button keeps its
// underlined caption and is reached by Tab or the mouse.
void letMenusTakeSharedAccessKeys(const QMenuBar* bar, QWidget* controls);

// Tab enters each group of option buttons under `window` (the radio buttons of one
// parent) at its checked button, and the next Tab leaves the group; the arrow keys
// move within it. A group with no usable checked button keeps every button a stop.
void letTabStopAtCheckedOptions(QWidget* window);
