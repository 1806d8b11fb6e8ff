#include "HistoryViewModel.h"

#include "core/Json.h"
#include "engine/DownloadManager.h"
#include "engine/HistoryStore.h"
#include "platform/DesktopServices.h"
#include "ui/downloader/HistoryRowPresentation.h"

#include <QClipboard>
#include <QGuiApplication>

HistoryViewModel::HistoryViewModel(HistoryStore *history, DownloadManager *downloads, DesktopServices *desktop,
                                   QObject *parent)
    : QObject(parent)
    , m_history(history)
    , m_downloads(downloads)
    , m_desktop(desktop)
    , m_items(history)
    , m_empty(isEmpty())
{
    connect(history, &HistoryStore::itemsChanged, this, [this] {
        dropRemovedFromSelection();
        if (m_empty != isEmpty()) {
            m_empty = isEmpty();
            Q_EMIT emptyChanged();
        }
    });
}

bool HistoryViewModel::isEmpty() const
{
    return m_history->items().isEmpty();
}

void HistoryViewModel::setSearch(const QString &search)
{
    if (search == m_search)
        return;
    m_search = search;
    m_items.setSearch(search);
    Q_EMIT searchChanged();
}

const HistoryItem *HistoryViewModel::itemById(const QUuid &id) const
{
    for (const HistoryItem &item : m_history->items()) {
        if (item.id == id)
            return &item;
    }
    return nullptr;
}

void HistoryViewModel::setSelection(const QSet<QUuid> &selection)
{
    if (selection == m_selection)
        return;
    m_selection = selection;
    m_items.setSelection(selection);
    Q_EMIT selectionChanged();
}

void HistoryViewModel::dropRemovedFromSelection()
{
    QSet<QUuid> kept;
    for (const HistoryItem &item : m_history->items()) {
        if (m_selection.contains(item.id))
            kept.insert(item.id);
    }
    setSelection(kept);
}

void HistoryViewModel::click(const QString &id, bool toggle, bool extend)
{
    const QUuid clicked = QUuid::fromString(id);
    if (!itemById(clicked))
        return;
    if (extend && !m_anchor.isNull()) {
        int from = -1;
        int to = -1;
        for (int row = 0; row < m_items.rowCount(); ++row) {
            const QUuid rowId = m_items.idAt(row);
            if (rowId == m_anchor)
                from = row;
            if (rowId == clicked)
                to = row;
        }
        if (from >= 0 && to >= 0) {
            QSet<QUuid> range;
            for (int row = std::min(from, to); row <= std::max(from, to); ++row)
                range.insert(m_items.idAt(row));
            setSelection(range);
            return;
        }
    }
    m_anchor = clicked;
    QSet<QUuid> selection = toggle ? m_selection : QSet<QUuid>();
    if (toggle && selection.contains(clicked))
        selection.remove(clicked);
    else
        selection.insert(clicked);
    setSelection(selection);
}

void HistoryViewModel::removeSelected()
{
    const QSet<QUuid> removed = m_selection;
    setSelection({});
    m_history->remove(removed);
}

void HistoryViewModel::askClear()
{
    if (clearEnabled())
        setConfirmingClear(true);
}

void HistoryViewModel::confirmClear()
{
    if (!m_confirmingClear)
        return;
    setConfirmingClear(false);
    m_history->clear();
}

void HistoryViewModel::cancelClear()
{
    setConfirmingClear(false);
}

void HistoryViewModel::setConfirmingClear(bool confirming)
{
    if (m_confirmingClear == confirming)
        return;
    m_confirmingClear = confirming;
    Q_EMIT confirmingClearChanged();
}

QVariantList HistoryViewModel::menu(const QString &id) const
{
    const HistoryItem *item = itemById(QUuid::fromString(id));
    if (!item)
        return {};
    return UiAction::toVariantList(HistoryRowPresentation::menuOf(*item, HistoryRowPresentation::fileExists(*item)));
}

void HistoryViewModel::trigger(const QString &id, const QString &action)
{
    const HistoryItem *found = itemById(QUuid::fromString(id));
    if (!found)
        return;
    // A copy: removing the entry or queueing its download may change the history under us.
    const HistoryItem item = *found;
    if (action == QLatin1String("openFile") && item.filePath) {
        m_desktop->openPath(*item.filePath);
    } else if (action == QLatin1String("reveal") && item.filePath) {
        m_desktop->reveal(*item.filePath);
    } else if (action == QLatin1String("openFolder")) {
        m_desktop->openPath(item.folder);
    } else if (action == QLatin1String("copySourceURL")) {
        QGuiApplication::clipboard()->setText(item.sourceURL);
    } else if (action == QLatin1String("showLog")) {
        m_logTask = Json::uuidText(item.id);
        m_logTitle = item.title;
        Q_EMIT logTaskChanged();
    } else if (action == QLatin1String("retry")) {
        m_downloads->enqueue(item.options);
    } else if (action == QLatin1String("remove")) {
        m_history->remove({item.id});
    }
}

void HistoryViewModel::open(const QString &id)
{
    const HistoryItem *item = itemById(QUuid::fromString(id));
    if (item)
        trigger(id, HistoryRowPresentation::fileExists(*item) ? QStringLiteral("openFile") : QStringLiteral("showLog"));
}

void HistoryViewModel::closeLog()
{
    if (m_logTask.isEmpty())
        return;
    m_logTask.clear();
    m_logTitle.clear();
    Q_EMIT logTaskChanged();
}

void HistoryViewModel::startFresh()
{
    setSearch(QString());
    setSelection({});
    m_anchor = QUuid();
}
