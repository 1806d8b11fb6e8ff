#pragma once

#include <QList>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

// A button or menu entry a screen offers: what it shows, and the action name the view hands back
// to its view model. Views show what they are given; nothing offered is ever disabled.
struct UiAction
{
    QString icon;   // symbol name; empty for a text-only menu entry
    QString text;   // an icon button's help text, or a menu entry's label
    QString action; // empty for a divider

    bool operator==(const UiAction &) const = default;

    // An icon button and a text menu entry, from ASCII literals.
    [[nodiscard]] static UiAction button(const char *icon, const char *help, const char *action);
    [[nodiscard]] static UiAction entry(const char *text, const char *action);
    [[nodiscard]] static UiAction divider() { return {}; }
    [[nodiscard]] bool isDivider() const { return action.isEmpty(); }

    // {"icon", "text", "action", "divider"} for a QML repeater or menu instantiator.
    [[nodiscard]] QVariantMap toVariant() const;
    [[nodiscard]] static QVariantList toVariantList(const QList<UiAction> &actions);
};
