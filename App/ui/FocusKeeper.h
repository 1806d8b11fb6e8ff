#pragma once

#include <QHash>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>

#include <memory>

// Where the keyboard goes in one window when what held it goes away. Qt leaves it on the window or
// on a panel when the focused control is hidden, disabled or destroyed, or a popup or page closes;
// there nothing reads it and typing goes nowhere. The keeper then gives it back to what opened the
// popup or page that closed, else to the nearest control of the same page in drawn order. A page
// shown while the keyboard is nowhere takes it on its first control. Whatever takes the keyboard is
// scrolled into view in every scrolling area around it.
class FocusKeeper final : public QObject
{
    Q_OBJECT

public:
    // The keeper of `window`, made on the first call.
    static FocusKeeper *of(QQuickWindow *window);

    // `page` has been shown in place of another (`raised` false: a route's screen, a tab's content)
    // or over the one the keyboard was on (`raised`, as Now Playing rises: it always takes the
    // keyboard, and gives it back to what had it as it goes).
    void showPage(QQuickItem *page, bool raised);

private:
    // A control that had the keyboard, and where the keyboard goes when it is gone.
    struct Stop
    {
        QPointer<QQuickItem> item;
        // Where it was drawn, in the window: its place once it is destroyed.
        QPointF position;
        // The page or popup it lies in; none for the window's own content.
        QPointer<QQuickItem> layer;
        // The page around that one, none for the window's content.
        QPointer<QQuickItem> outer;
        bool inLayer = false;
        bool raisedLayer = false;
        // What had the keyboard as that layer opened.
        std::shared_ptr<Stop> opener;
    };
    struct Layer
    {
        bool raised = false;
        std::shared_ptr<Stop> opener;
    };

    explicit FocusKeeper(QQuickWindow *window);

    bool eventFilter(QObject *watched, QEvent *event) override;
    void focusChanged();
    // Keeps `now` as the last control with the keyboard; false when it is none.
    bool remember(QQuickItem *now);
    Layer &entryOf(QQuickItem *layer);
    void settle();
    [[nodiscard]] QQuickItem *target(const Stop &lost) const;
    // The nearest page or popup around `item`.
    [[nodiscard]] QQuickItem *layerOf(QQuickItem *item) const;
    [[nodiscard]] bool layerShown(const QQuickItem *layer) const;
    [[nodiscard]] bool usable(const QQuickItem *item) const;
    [[nodiscard]] QQuickItem *firstIn(QQuickItem *root) const;
    [[nodiscard]] QQuickItem *nearestIn(QQuickItem *root, QPointF position) const;
    void give(QQuickItem *item) const;
    static void reveal(QQuickItem *item);

    QQuickWindow *m_window;
    std::shared_ptr<Stop> m_last;
    QHash<const QQuickItem *, Layer> m_layers;
    QPointer<QQuickItem> m_shownPage;
    bool m_keyboardLast = false;
    bool m_settling = false;
};
