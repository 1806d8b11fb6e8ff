#pragma once

#include <QStringList>
#include <QVariant>

// The "action" keys of a view model's menu or button list, in order.
inline QStringList actionsOf(const QVariant &list)
{
    QStringList actions;
    for (const QVariant &entry : list.toList())
        actions.append(entry.toMap().value(QStringLiteral("action")).toString());
    return actions;
}
