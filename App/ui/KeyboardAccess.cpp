#include "KeyboardAccess.h"

#include <QByteArray>
#include <QMetaObject>

bool KeyboardAccess::press(QObject *item, int key, int modifiers)
{
    const auto pressed = Qt::KeyboardModifiers(modifiers) & ~Qt::KeypadModifier;
    const char *function = nullptr;
    if (pressed == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space))
        function = "activate";
    else if ((pressed == Qt::NoModifier && key == Qt::Key_Menu) || (pressed == Qt::ShiftModifier && key == Qt::Key_F10))
        function = "openMenu";
    // An item without a menu lets the Menu key pass.
    if (!item || !function || item->metaObject()->indexOfMethod(QByteArray(function) + "()") < 0)
        return false;
    return QMetaObject::invokeMethod(item, function);
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
