#include "FocusKeeper.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>

#include <algorithm>

namespace {
// What the keyboard may rest on: a Tab stop or a text field, or an item within one (the current
// row of a list that is one stop).
bool takesKeys(const QQuickItem *item)
{
    for (; item; item = item->parentItem()) {
        if (item->activeFocusOnTab() || item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"))
            return true;
    }
    return false;
}

bool isPopup(const QQuickItem *item)
{
    return item->inherits("QQuickPopupItem");
}

// Reading order: top to bottom, then left to right.
bool before(QPointF a, QPointF b)
{
    return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
}

QPointF placeOf(const QQuickItem *item)
{
    return item->mapToScene(QPointF(0, 0));
}

void collect(QQuickItem *item, QList<QQuickItem *> &found)
{
    for (QQuickItem *child : item->childItems()) {
        // Popups are layers of their own; what they hold is no control of the page under them.
        if (!child->isVisible() || child->inherits("QQuickOverlay"))
            continue;
        if (takesKeys(child) && child->isEnabled())
            found.append(child);
        collect(child, found);
    }
}

// Moves `flickable` by as little as brings `item` whole into its view, along each axis it scrolls.
void scrollTo(QQuickItem *flickable, const QQuickItem *item)
{
    // Room for the focus ring around the item.
    constexpr qreal ring = 4;
    const QRectF place = item->mapRectToItem(flickable, item->boundingRect()).adjusted(-ring, -ring, ring, ring);
    const auto move = [flickable](const char *position, const char *origin, const char *extent, qreal start, qreal end,
                                  qreal view, const char *leading, const char *trailing) {
        qreal by = 0;
        if (start < 0)
            by = start;
        else if (end > view)
            by = std::min(end - view, start);
        if (by == 0)
            return;
        const qreal least = flickable->property(origin).toReal() - flickable->property(leading).toReal();
        const qreal most = flickable->property(origin).toReal() + flickable->property(extent).toReal() - view +
                           flickable->property(trailing).toReal();
        const qreal to = std::clamp(flickable->property(position).toReal() + by, least, std::max(least, most));
        flickable->setProperty(position, to);
    };
    move("contentY", "originY", "contentHeight", place.top(), place.bottom(), flickable->height(), "topMargin",
         "bottomMargin");
    move("contentX", "originX", "contentWidth", place.left(), place.right(), flickable->width(), "leftMargin",
         "rightMargin");
}
} // namespace

FocusKeeper::FocusKeeper(QQuickWindow *window)
    : QObject(window)
    , m_window(window)
{
    connect(window, &QQuickWindow::activeFocusItemChanged, this, &FocusKeeper::focusChanged);
    // Shortcuts take their keys before the window sees them: the application's events tell.
    QCoreApplication::instance()->installEventFilter(this);
}

FocusKeeper *FocusKeeper::of(QQuickWindow *window)
{
    auto *keeper = window->findChild<FocusKeeper *>(QString(), Qt::FindDirectChildrenOnly);
    return keeper ? keeper : new FocusKeeper(window);
}

bool FocusKeeper::eventFilter(QObject *watched, QEvent *event)
{
    // Whether the keyboard or the pointer acted last decides whether the control that takes the
    // keyboard shows its ring.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        m_keyboardLast = true;
    else if (event->type() == QEvent::MouseButtonPress)
        m_keyboardLast = false;
    return QObject::eventFilter(watched, event);
}

void FocusKeeper::showPage(QQuickItem *page, bool raised)
{
    entryOf(page) = {raised, m_last};
    if (!raised)
        m_shownPage = page;
    QQuickItem *now = m_window->activeFocusItem();
    const bool held = (takesKeys(now) && usable(now)) || (now && layerOf(now) && isPopup(layerOf(now)));
    if (raised || !held)
        give(firstIn(page));
}

void FocusKeeper::focusChanged()
{
    QQuickItem *now = m_window->activeFocusItem();
    if (m_last && m_last->item && m_last->item->window() == m_window)
        m_last->position = placeOf(m_last->item);
    // Settled once the change that moved it is done: a popup that opens gives the keyboard to its own
    // control only after it took it itself, and a list's row becomes a Tab stop after it took it.
    if (!remember(now) && !std::exchange(m_settling, true))
        QTimer::singleShot(0, this, &FocusKeeper::settle);
}

bool FocusKeeper::remember(QQuickItem *now)
{
    if (!takesKeys(now) || !usable(now))
        return false;
    reveal(now);
    if (m_last && m_last->item == now)
        return true;
    auto stop = std::make_shared<Stop>();
    stop->item = now;
    stop->position = placeOf(now);
    if (QQuickItem *layer = layerOf(now)) {
        Layer &entry = entryOf(layer);
        // A popup was opened by what had the keyboard before it.
        if (isPopup(layer)) {
            entry.raised = true;
            if (m_last && m_last->layer != layer)
                entry.opener = m_last;
        }
        stop->layer = layer;
        stop->outer = layerOf(layer->parentItem());
        stop->inLayer = true;
        stop->raisedLayer = entry.raised;
        stop->opener = entry.opener;
    }
    m_last = stop;
    return true;
}

FocusKeeper::Layer &FocusKeeper::entryOf(QQuickItem *layer)
{
    if (!m_layers.contains(layer))
        connect(layer, &QObject::destroyed, this, [this, layer] { m_layers.remove(layer); });
    return m_layers[layer];
}

void FocusKeeper::settle()
{
    m_settling = false;
    QQuickItem *now = m_window->activeFocusItem();
    if (!m_last || remember(now))
        return;
    // An open popup leads its own keyboard (a menu's entries need be no Tab stops).
    if (QQuickItem *layer = now ? layerOf(now) : nullptr; layer && isPopup(layer) && layerShown(layer))
        return;
    give(target(*m_last));
}

QQuickItem *FocusKeeper::target(const Stop &lost) const
{
    if (usable(lost.item))
        return lost.item;
    if (!lost.inLayer || layerShown(lost.layer)) {
        if (QQuickItem *near = nearestIn(lost.inLayer ? lost.layer.data() : m_window->contentItem(), lost.position))
            return near;
    } else {
        // Its page or popup is gone: a page shown in place of it, else what opened it.
        if (!lost.raisedLayer && m_shownPage && m_shownPage != lost.layer && layerShown(m_shownPage)) {
            if (QQuickItem *first = firstIn(m_shownPage))
                return first;
        }
        if (lost.opener) {
            if (QQuickItem *opener = target(*lost.opener))
                return opener;
        }
        if (layerShown(lost.outer)) {
            if (QQuickItem *near = nearestIn(lost.outer, lost.position))
                return near;
        }
    }
    return nearestIn(m_window->contentItem(), lost.position);
}

QQuickItem *FocusKeeper::layerOf(QQuickItem *item) const
{
    for (; item; item = item->parentItem()) {
        if (m_layers.contains(item) || isPopup(item))
            return item;
    }
    return nullptr;
}

bool FocusKeeper::layerShown(const QQuickItem *layer) const
{
    // A closed popup's item leaves the scene.
    return layer && layer->window() == m_window && layer->isVisible() && layer->isEnabled();
}

bool FocusKeeper::usable(const QQuickItem *item) const
{
    return item && item->window() == m_window && item->isVisible() && item->isEnabled();
}

QQuickItem *FocusKeeper::firstIn(QQuickItem *root) const
{
    if (!root)
        return nullptr;
    // The Tab chain follows the drawn order.
    QQuickItem *next = root->nextItemInFocusChain(true);
    if (next && root->isAncestorOf(next) && usable(next))
        return next;
    return nearestIn(root, placeOf(root) - QPointF(1, 1));
}

QQuickItem *FocusKeeper::nearestIn(QQuickItem *root, QPointF position) const
{
    if (!root)
        return nullptr;
    QList<QQuickItem *> controls;
    collect(root, controls);
    QQuickItem *previous = nullptr;
    QPointF previousPlace;
    QQuickItem *next = nullptr;
    QPointF nextPlace;
    for (QQuickItem *control : controls) {
        const QPointF place = placeOf(control);
        if (before(place, position)) {
            if (!previous || before(previousPlace, place))
                std::tie(previous, previousPlace) = std::pair(control, place);
        } else if (!next || before(place, nextPlace)) {
            std::tie(next, nextPlace) = std::pair(control, place);
        }
    }
    return next ? next : previous;
}

void FocusKeeper::give(QQuickItem *item) const
{
    if (item)
        item->forceActiveFocus(m_keyboardLast ? Qt::TabFocusReason : Qt::OtherFocusReason);
}

void FocusKeeper::reveal(QQuickItem *item)
{
    for (QQuickItem *around = item->parentItem(); around; around = around->parentItem()) {
        if (around->inherits("QQuickFlickable"))
            scrollTo(around, item);
    }
}
