#pragma once

#include <QObject>
#include <QQuickItem>
#include <QQuickWindow>
#include <QString>
#include <QtQml/qqmlregistration.h>

// What the keyboard does to an item of a list, grid or shelf, and to a button, the names a screen
// reader reads for texts with mnemonic marks, and where the keyboard goes as popups and pages close. Return,
// Enter and Space act as a click does (the item's `activate()`); on an item that has a selection,
// Space selects as a click does, Ctrl and Shift as with the mouse (its `select(modifiers)`); the
// Menu key and Shift+F10 open the item's menu at the item (its `openMenu()`).
class KeyboardAccess final : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // Calls the item's function for the key; false when the key is not one of these or the item
    // has no such function, so the event goes on (to the list, which moves with the arrows).
    Q_INVOKABLE static bool press(QObject *item, int key, int modifiers);
    // Return or keypad Enter alone: the keys that confirm, as a click does.
    Q_INVOKABLE static bool confirms(int key, int modifiers);
    // Clicks `button` (toggling it first when it is checkable) for a key that confirms; true when the
    // key was one, also for its auto-repeats, which click nothing more.
    Q_INVOKABLE static bool click(QObject *button, int key, int modifiers, bool autoRepeat = false);
    // `text` without the marks of its mnemonic ("&File" reads "File", "A && B" reads "A & B").
    Q_INVOKABLE static QString plainText(const QString &text);
    // Whether `item` lies in a popup (a menu, a sheet) rather than in its window's own content. What
    // takes the keyboard back as a sheet or Now Playing closes is an item of the content: a menu that
    // had it is gone by then.
    Q_INVOKABLE static bool inPopup(const QQuickItem *item);
    // Tells `menuBar` that its open menu has closed by itself (Escape in the menu). While the pointer
    // rests on the menu's title, the bar otherwise still counts the menu as open and takes the next
    // click there for closing it. The Up key is how the bar is told: it closes the current menu, and
    // does nothing when none is open.
    Q_INVOKABLE static void menuClosed(QQuickItem *menuBar);
    // Keeps the keyboard of `window` on a control as what had it goes away (see FocusKeeper).
    Q_INVOKABLE static void keepFocus(QQuickWindow *window);
    // `page` is shown: it takes the keyboard on its first control when nothing has it, or always when
    // `raised` over the page the keyboard was on, which takes it back as `page` goes.
    Q_INVOKABLE static void showPage(QQuickItem *page, bool raised = false);
};
