#pragma once

#include <QObject>
#include <QVariantList>

class AppState;

// The strip across the top of the music window: the home button, the music search field (the
// search manager's query, both ways) and the overflow menu. Nothing here opens or closes Now
// Playing or the queue panel: a route changed here changes the screen beneath them.
class TopBarModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    // The clear button shows only while there is text to clear.
    Q_PROPERTY(bool clearVisible READ clearVisible NOTIFY queryChanged)
    // The overflow menu's entries in order: {text, action}, or {divider: true}.
    Q_PROPERTY(QVariantList menu READ menu CONSTANT)

public:
    explicit TopBarModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] QString query() const;
    void setQuery(const QString &query);
    [[nodiscard]] bool clearVisible() const { return !query().isEmpty(); }
    [[nodiscard]] static QVariantList menu();

    Q_INVOKABLE void goHome();
    // Return in the field: the Search screen shows even for blank text, which searches nothing.
    Q_INVOKABLE void submit();
    // Empties the field; the route and the shown results stay.
    Q_INVOKABLE void clear();
    // A menu entry's action: "settings", "downloads", "diagnostics" or "checkForUpdates".
    Q_INVOKABLE void trigger(const QString &action);

Q_SIGNALS:
    void queryChanged();

private:
    AppState *m_state;
};
