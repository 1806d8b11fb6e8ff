#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The desktop's own text for a key sequence ("Ctrl+Shift+V"), which QML cannot ask QKeySequence for:
// menus show it beside each command that has a shortcut.
class KeyText final : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;

    // `sequence` as an Action holds its shortcut: portable text ("Ctrl+N"), a standard key or a
    // QKeySequence. Nothing, or a sequence Qt cannot read, gives an empty text.
    Q_INVOKABLE static QString native(const QVariant &sequence);
};
