#include "TabOrder.h"

#include <algorithm>

void TabOrder::setContent(QQuickItem *content)
{
    if (m_content == content)
        return;
    if (m_content)
        disconnect(m_content, nullptr, this, nullptr);
    m_content = content;
    if (m_content)
        connect(m_content, &QQuickItem::childrenChanged, this, &TabOrder::schedule);
    schedule();
    Q_EMIT contentChanged();
}

void TabOrder::schedule()
{
    if (std::exchange(m_scheduled, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_scheduled = false;
            if (m_content)
                order(m_content);
        },
        Qt::QueuedConnection);
}

void TabOrder::order(QQuickItem *content)
{
    QList<QQuickItem *> items = content->childItems();
    std::stable_sort(items.begin(), items.end(), [](const QQuickItem *a, const QQuickItem *b) {
        return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
    });
    for (qsizetype i = 1; i < items.size(); ++i)
        items[i]->stackAfter(items[i - 1]);
}
