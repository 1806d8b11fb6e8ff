#include "LogSheetModel.h"

#include "core/Json.h"
#include "core/LogManager.h"
#include "platform/DesktopServices.h"

#include <QClipboard>
#include <QCoroFuture>
#include <QGuiApplication>
#include <QPointer>

#include <algorithm>

namespace {

const QString cutNote = QStringLiteral("\u2026 earlier lines are left out; Reveal File shows the whole log.");

} // namespace

LogSheetModel::LogSheetModel(DesktopServices *desktop, QObject *parent)
    : QAbstractListModel(parent)
    , m_desktop(desktop)
{}

QString LogSheetModel::taskId() const
{
    return m_task.isNull() ? QString() : Json::uuidText(m_task);
}

QString LogSheetModel::name() const
{
    return m_title.isEmpty() ? tr("Download Log") : tr("Download Log: %1").arg(m_title);
}

void LogSheetModel::open(const QString &taskId, const QString &title)
{
    const QUuid task = QUuid::fromString(taskId);
    if (task != m_task || title != m_title) {
        m_task = task;
        m_title = title;
        Q_EMIT taskIdChanged();
    }
    show({});
    refresh();
}

void LogSheetModel::refresh()
{
    if (m_task.isNull())
        return;
    setLoading(true);
    load(m_task, ++m_generation);
}

void LogSheetModel::close()
{
    ++m_generation;
    setLoading(false);
    if (!m_task.isNull()) {
        m_task = {};
        m_title.clear();
        Q_EMIT taskIdChanged();
    }
    show({});
}

QCoro::Task<> LogSheetModel::load(QUuid task, quint64 generation)
{
    const QPointer<LogSheetModel> self(this);
    const LogManager::Tail tail = co_await LogManager::readTail(task, maxBytes);
    if (!self || generation != m_generation)
        co_return;
    setLoading(false);
    show(tail.cut ? cutNote + QLatin1Char('\n') + tail.text : tail.text);
}

void LogSheetModel::show(const QString &text)
{
    if (text == m_text)
        return;
    beginResetModel();
    m_text = text;
    m_blocks = blocksOf(text);
    m_anchor = m_cursor = 0;
    endResetModel();
    Q_EMIT textChanged();
}

// The text in runs of `linesPerBlock` lines, each without its last line end.
QList<LogSheetModel::Block> LogSheetModel::blocksOf(const QString &text)
{
    QList<Block> blocks;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        for (int line = 0; line < linesPerBlock && end < text.size(); ++line) {
            const qsizetype newline = text.indexOf(QLatin1Char('\n'), end);
            end = newline < 0 ? text.size() : newline + 1;
        }
        blocks.append({start, end - start - (text[end - 1] == QLatin1Char('\n') ? 1 : 0)});
        start = end;
    }
    return blocks;
}

void LogSheetModel::setLoading(bool loading)
{
    if (m_loading == loading)
        return;
    m_loading = loading;
    Q_EMIT loadingChanged();
}

void LogSheetModel::copy() const
{
    QGuiApplication::clipboard()->setText(m_text);
}

void LogSheetModel::revealFile() const
{
    if (!m_task.isNull())
        m_desktop->reveal(LogManager::taskLogPath(m_task));
}

void LogSheetModel::press(int block, int position)
{
    const qsizetype oldAnchor = m_anchor, oldCursor = m_cursor;
    m_anchor = m_cursor = offsetOf(block, position);
    selectionMoved(oldAnchor, oldCursor);
}

void LogSheetModel::drag(int block, int position)
{
    const qsizetype oldCursor = m_cursor;
    m_cursor = offsetOf(block, position);
    selectionMoved(m_anchor, oldCursor);
}

QString LogSheetModel::selectedText() const
{
    return m_text.mid(std::min(m_anchor, m_cursor), std::abs(m_cursor - m_anchor));
}

void LogSheetModel::copySelection() const
{
    if (m_anchor != m_cursor)
        QGuiApplication::clipboard()->setText(selectedText());
}

qsizetype LogSheetModel::offsetOf(int block, int position) const
{
    if (m_blocks.isEmpty())
        return 0;
    const Block &in = m_blocks[std::clamp<qsizetype>(block, 0, m_blocks.size() - 1)];
    return in.start + std::clamp<qsizetype>(position, 0, in.length);
}

void LogSheetModel::selectionMoved(qsizetype anchor, qsizetype cursor)
{
    const qsizetype first = std::min({anchor, cursor, m_anchor, m_cursor});
    const qsizetype last = std::max({anchor, cursor, m_anchor, m_cursor});
    const auto blockAt = [this](qsizetype offset) {
        const auto after = std::upper_bound(m_blocks.cbegin(), m_blocks.cend(), offset,
                                            [](qsizetype at, const Block &block) { return at < block.start; });
        return int(std::max<qsizetype>(after - m_blocks.cbegin() - 1, 0));
    };
    if (!m_blocks.isEmpty())
        Q_EMIT dataChanged(index(blockAt(first)), index(blockAt(last)), {SelectedFromRole, SelectedToRole});
}

int LogSheetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_blocks.size());
}

QVariant LogSheetModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Block &block = m_blocks[index.row()];
    const auto inBlock = [&block](qsizetype offset) {
        return int(std::clamp<qsizetype>(offset - block.start, 0, block.length));
    };
    switch (role) {
    case TextRole: return m_text.mid(block.start, block.length);
    case SelectedFromRole: return inBlock(std::min(m_anchor, m_cursor));
    case SelectedToRole: return inBlock(std::max(m_anchor, m_cursor));
    default: return {};
    }
}

QHash<int, QByteArray> LogSheetModel::roleNames() const
{
    return {{TextRole, "text"}, {SelectedFromRole, "selectedFrom"}, {SelectedToRole, "selectedTo"}};
}
