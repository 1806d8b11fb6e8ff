#include "DownloadQueueModel.h"

#include "core/Json.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "platform/DesktopServices.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

// The signals of a running download's progress: a busy queue sends them many times a second.
const auto progressSignals = {
    &DownloadTask::progressChanged,     &DownloadTask::speedChanged,      &DownloadTask::etaChanged,
    &DownloadTask::currentBytesChanged, &DownloadTask::totalBytesChanged, &DownloadTask::stageChanged,
};

// Every other signal of a task that can change what its row shows: rare, and worth showing at once.
const auto eventSignals = {
    &DownloadTask::statusChanged,       &DownloadTask::finalSizeChanged, &DownloadTask::itemIndexChanged,
    &DownloadTask::itemCountChanged,    &DownloadTask::errorChanged,     &DownloadTask::outputFilesChanged,
    &DownloadTask::displayTitleChanged,
};

// The roles whose values differ between two presentations of a row, compared as they stand:
// turning the controls and the menu into variants to compare them cost more than the update.
QList<int> changedRoles(const TaskPresentation &before, const TaskPresentation &now)
{
    QList<int> roles;
    const auto note = [&roles](bool changed, int role) {
        if (changed)
            roles.append(role);
    };
    note(before.title != now.title, DownloadQueueModel::TitleRole);
    note(before.itemText != now.itemText, DownloadQueueModel::ItemTextRole);
    note(before.status.text != now.status.text, DownloadQueueModel::StatusTextRole);
    note(before.status.icon != now.status.icon, DownloadQueueModel::StatusIconRole);
    note(before.status.color != now.status.color, DownloadQueueModel::StatusColorRole);
    note(before.statusLine != now.statusLine, DownloadQueueModel::StatusLineRole);
    note(before.statusLineColor != now.statusLineColor, DownloadQueueModel::StatusLineColorRole);
    note(before.showsProgress != now.showsProgress, DownloadQueueModel::ShowsProgressRole);
    note(before.progress != now.progress, DownloadQueueModel::ProgressRole);
    note(before.thumbnail != now.thumbnail, DownloadQueueModel::ThumbnailRole);
    note(before.placeholderIcon != now.placeholderIcon, DownloadQueueModel::PlaceholderIconRole);
    note(before.controls != now.controls, DownloadQueueModel::ControlsRole);
    note(before.menu != now.menu, DownloadQueueModel::MenuRole);
    return roles;
}

} // namespace

DownloadQueueModel::DownloadQueueModel(DownloadManager *downloads, DesktopServices *desktop, QObject *parent)
    : QIdentityProxyModel(parent)
    , m_downloads(downloads)
    , m_desktop(desktop)
{
    setSourceModel(downloads);
    m_frame.setSingleShot(true);
    m_frame.setInterval(frameMs);
    connect(&m_frame, &QTimer::timeout, this, [this] { publish(std::exchange(m_changed, {})); });
    // Precise, so two progress updates are never closer than the interval.
    m_progressTick.setSingleShot(true);
    m_progressTick.setTimerType(Qt::PreciseTimer);
    m_progressTick.setInterval(progressMs);
    connect(&m_progressTick, &QTimer::timeout, this, [this] { publish(std::exchange(m_progressed, {})); });

    connect(downloads, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { unfollow(first, last); });
    connect(downloads, &QAbstractItemModel::modelAboutToBeReset, this, [this] { unfollow(0, rowCount() - 1); });
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(downloads, signal, this, &DownloadQueueModel::noteEmptiness);
    connect(downloads, &QAbstractItemModel::modelReset, this, &DownloadQueueModel::noteEmptiness);
    m_empty = isEmpty();
}

DownloadTask *DownloadQueueModel::taskAt(int row) const
{
    return m_downloads->tasks().value(row);
}

DownloadTask *DownloadQueueModel::taskById(const QString &id) const
{
    const QUuid uuid = QUuid::fromString(id);
    if (uuid.isNull())
        return nullptr;
    for (DownloadTask *task : m_downloads->tasks()) {
        if (task->id() == uuid)
            return task;
    }
    return nullptr;
}

void DownloadQueueModel::follow(DownloadTask *task)
{
    for (const auto signal : eventSignals)
        connect(task, signal, this, [this, task] { markChanged(task); });
    for (const auto signal : progressSignals)
        connect(task, signal, this, [this, task] { markProgressed(task); });
}

void DownloadQueueModel::unfollow(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        DownloadTask *task = taskAt(row);
        disconnect(task, nullptr, this, nullptr);
        m_shown.remove(task);
        m_changed.remove(task);
        m_progressed.remove(task);
    }
}

void DownloadQueueModel::noteEmptiness()
{
    if (m_empty == isEmpty())
        return;
    m_empty = isEmpty();
    Q_EMIT emptyChanged();
}

void DownloadQueueModel::markChanged(DownloadTask *task)
{
    m_changed.insert(task);
    if (!m_frame.isActive())
        m_frame.start();
}

void DownloadQueueModel::markProgressed(DownloadTask *task)
{
    m_progressed.insert(task);
    if (!m_progressTick.isActive())
        m_progressTick.start();
}

void DownloadQueueModel::publish(const QSet<DownloadTask *> &changed)
{
    const QList<DownloadTask *> &tasks = m_downloads->tasks();
    for (DownloadTask *task : changed) {
        // The row is brought up to date as a whole, its gathered progress included.
        m_progressed.remove(task);
        const auto shown = m_shown.find(task);
        const qsizetype row = tasks.indexOf(task);
        if (shown == m_shown.end() || row < 0)
            continue;
        TaskPresentation now = TaskPresentation::of(TaskSnapshot::of(*task));
        const QList<int> roles = changedRoles(*shown, now);
        if (roles.isEmpty())
            continue;
        *shown = std::move(now);
        const QModelIndex at = index(int(row), 0);
        Q_EMIT dataChanged(at, at, roles);
    }
}

const TaskPresentation &DownloadQueueModel::shown(DownloadTask *task) const
{
    auto found = m_shown.find(task);
    if (found == m_shown.end()) {
        found = m_shown.insert(task, TaskPresentation::of(TaskSnapshot::of(*task)));
        // A row the view never read has nothing to update, so a task is followed only from its
        // first reading on: a thousand new tasks cost nothing until they scroll into sight.
        const_cast<DownloadQueueModel *>(this)->follow(task);
    }
    return *found;
}

QVariant DownloadQueueModel::roleValue(const TaskPresentation &row, int role)
{
    switch (role) {
    case TitleRole: return row.title;
    case ItemTextRole: return row.itemText;
    case StatusTextRole: return row.status.text;
    case StatusIconRole: return row.status.icon;
    case StatusColorRole: return row.status.color;
    case StatusLineRole: return row.statusLine;
    case StatusLineColorRole: return row.statusLineColor;
    case ShowsProgressRole: return row.showsProgress;
    case ProgressRole: return row.progress;
    case ThumbnailRole: return row.thumbnail;
    case PlaceholderIconRole: return row.placeholderIcon;
    case ControlsRole: return UiAction::toVariantList(row.controls);
    case MenuRole: return UiAction::toVariantList(row.menu);
    default: return {};
    }
}

QVariant DownloadQueueModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    DownloadTask *task = taskAt(index.row());
    if (role == IdRole)
        return Json::uuidText(task->id());
    if (role < IdRole)
        return QIdentityProxyModel::data(index, role);
    // The view reads what it was last told; changes still gathering arrive with the next update.
    return roleValue(shown(task), role);
}

QHash<int, QByteArray> DownloadQueueModel::roleNames() const
{
    QHash<int, QByteArray> names = QIdentityProxyModel::roleNames();
    names.insert({
        {IdRole, "id"},
        {TitleRole, "title"},
        {ItemTextRole, "itemText"},
        {StatusTextRole, "statusText"},
        {StatusIconRole, "statusIcon"},
        {StatusColorRole, "statusColor"},
        {StatusLineRole, "statusLine"},
        {StatusLineColorRole, "statusLineColor"},
        {ShowsProgressRole, "showsProgress"},
        {ProgressRole, "progress"},
        {ThumbnailRole, "thumbnail"},
        {PlaceholderIconRole, "placeholderIcon"},
        {ControlsRole, "controls"},
        {MenuRole, "menu"},
    });
    return names;
}

QString DownloadQueueModel::idAt(int row) const
{
    const DownloadTask *task = taskAt(row);
    return task ? Json::uuidText(task->id()) : QString();
}

void DownloadQueueModel::trigger(const QString &taskId, const QString &action)
{
    DownloadTask *task = taskById(taskId);
    if (!task)
        return;
    using Control = void (DownloadManager::*)(DownloadTask *);
    static const QHash<QString, Control> controls = {
        {QStringLiteral("pause"), &DownloadManager::pause},       {QStringLiteral("resume"), &DownloadManager::resume},
        {QStringLiteral("retry"), &DownloadManager::retry},       {QStringLiteral("cancel"), &DownloadManager::cancel},
        {QStringLiteral("remove"), &DownloadManager::remove},     {QStringLiteral("moveUp"), &DownloadManager::moveUp},
        {QStringLiteral("moveDown"), &DownloadManager::moveDown},
    };
    if (const auto control = controls.find(action); control != controls.end())
        (m_downloads->*(*control))(task);
    else if (action == QLatin1String("reveal") && !task->firstFile().isEmpty())
        m_desktop->reveal(task->firstFile().toLocalFile());
    else if (action == QLatin1String("copyLink"))
        QGuiApplication::clipboard()->setText(task->options().url);
    else if (action == QLatin1String("showLog"))
        setLogTask(Json::uuidText(task->id()), task->displayTitle());
}

void DownloadQueueModel::moveTask(const QString &taskId, const QString &beforeTaskId)
{
    const QList<DownloadTask *> &tasks = m_downloads->tasks();
    const qsizetype from = tasks.indexOf(taskById(taskId));
    const qsizetype to = beforeTaskId.isEmpty() ? tasks.size() : tasks.indexOf(taskById(beforeTaskId));
    if (from < 0 || to < 0)
        return;
    m_downloads->move({int(from)}, int(to));
}

void DownloadQueueModel::pauseAll()
{
    m_downloads->pauseAll();
}

void DownloadQueueModel::resumeAll()
{
    m_downloads->resumeAll();
}

void DownloadQueueModel::clearFinished()
{
    m_downloads->clearFinished();
}

void DownloadQueueModel::closeLog()
{
    setLogTask({});
}

void DownloadQueueModel::setLogTask(const QString &id, const QString &title)
{
    if (m_logTask == id)
        return;
    m_logTask = id;
    m_logTitle = title;
    Q_EMIT logTaskChanged();
}
