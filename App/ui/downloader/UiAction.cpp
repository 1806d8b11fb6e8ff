#include "UiAction.h"

UiAction UiAction::button(const char *icon, const char *help, const char *action)
{
    return {QString::fromLatin1(icon), QString::fromLatin1(help), QString::fromLatin1(action)};
}

UiAction UiAction::entry(const char *text, const char *action)
{
    return {QString(), QString::fromLatin1(text), QString::fromLatin1(action)};
}

QVariantMap UiAction::toVariant() const
{
    return {{QStringLiteral("icon"), icon},
            {QStringLiteral("text"), text},
            {QStringLiteral("action"), action},
            {QStringLiteral("divider"), isDivider()}};
}

QVariantList UiAction::toVariantList(const QList<UiAction> &actions)
{
    QVariantList list;
    list.reserve(actions.size());
    for (const UiAction &action : actions)
        list.append(action.toVariant());
    return list;
}
