#include "KeyboardAccess.h"

#include "FocusKeeper.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMetaObject>
#include <QVariant>

namespace {
Qt::KeyboardModifiers pressedModifiers(int modifiers)
{
    return Qt::KeyboardModifiers(modifiers) & ~Qt::KeypadModifier;
}
} // namespace

bool KeyboardAccess::press(QObject *item, int key, int modifiers)
{
    const auto pressed = pressedModifiers(modifiers);
    if (item && key == Qt::Key_Space &&
        (pressed == Qt::NoModifier || pressed == Qt::ControlModifier || pressed == Qt::ShiftModifier) &&
        item->metaObject()->indexOfMethod("select(QVariant)") >= 0)
        return QMetaObject::invokeMethod(item, "select", Q_ARG(QVariant, int(pressed)));
    const char *function = nullptr;
    if (confirms(key, modifiers) || (pressed == Qt::NoModifier && key == Qt::Key_Space))
        function = "activate";
    else if ((pressed == Qt::NoModifier && key == Qt::Key_Menu) || (pressed == Qt::ShiftModifier && key == Qt::Key_F10))
        function = "openMenu";
    // An item without a menu lets the Menu key pass.
    if (!item || !function || item->metaObject()->indexOfMethod(QByteArray(function) + "()") < 0)
        return false;
    return QMetaObject::invokeMethod(item, function);
}

bool KeyboardAccess::confirms(int key, int modifiers)
{
    return pressedModifiers(modifiers) == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter);
}

bool KeyboardAccess::click(QObject *button, int key, int modifiers, bool autoRepeat)
{
    if (!button || !confirms(key, modifiers))
        return false;
    if (autoRepeat)
        return true;
    if (button->property("checkable").toBool())
        QMetaObject::invokeMethod(button, "toggle");
    QMetaObject::invokeMethod(button, "clicked");
    return true;
}

QString KeyboardAccess::plainText(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A mark stands before the letter it underlines; a doubled mark is one "&".
        if (text[i] == QLatin1Char('&') && ++i == text.size())
            break;
        plain.append(text[i]);
    }
    return plain;
}

bool KeyboardAccess::inPopup(const QQuickItem *item)
{
    // Popups are drawn in the window's overlay, a layer above its content.
    for (; item; item = item->parentItem()) {
        if (item->inherits("QQuickOverlay"))
            return true;
    }
    return false;
}

void KeyboardAccess::menuClosed(QQuickItem *menuBar)
{
    if (!menuBar)
        return;
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(menuBar, &up);
}

void KeyboardAccess::keepFocus(QQuickWindow *window)
{
    if (window)
        FocusKeeper::of(window);
}

void KeyboardAccess::showPage(QQuickItem *page, bool raised)
{
    if (page && page->window())
        FocusKeeper::of(page->window())->showPage(page, raised);
}
