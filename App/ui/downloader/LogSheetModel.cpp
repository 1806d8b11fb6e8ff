#include "LogSheetModel.h"

#include "core/Json.h"
#include "core/LogManager.h"
#include "platform/DesktopServices.h"

#include <QClipboard>
#include <QCoroFuture>
#include <QGuiApplication>
#include <QPointer>

namespace {

const QString cutNote = QStringLiteral("\u2026 earlier lines are left out; Reveal File shows the whole log.");

// The text in runs of `LogSheetModel::linesPerBlock` lines.
QStringList blocksOf(const QString &text)
{
    QStringList blocks;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        for (int line = 0; line < LogSheetModel::linesPerBlock && end < text.size(); ++line) {
            const qsizetype newline = text.indexOf(QLatin1Char('\n'), end);
            end = newline < 0 ? text.size() : newline + 1;
        }
        QString block = text.mid(start, end - start);
        if (block.endsWith(QLatin1Char('\n')))
            block.chop(1);
        blocks.append(block);
        start = end;
    }
    return blocks;
}

} // namespace

LogSheetModel::LogSheetModel(DesktopServices *desktop, QObject *parent)
    : QAbstractListModel(parent)
    , m_desktop(desktop)
{}

QString LogSheetModel::taskId() const
{
    return m_task.isNull() ? QString() : Json::uuidText(m_task);
}

void LogSheetModel::open(const QString &taskId)
{
    const QUuid task = QUuid::fromString(taskId);
    if (task != m_task) {
        m_task = task;
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
    endResetModel();
    Q_EMIT textChanged();
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

int LogSheetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_blocks.size());
}

QVariant LogSheetModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || role != TextRole)
        return {};
    return m_blocks[index.row()];
}

QHash<int, QByteArray> LogSheetModel::roleNames() const
{
    return {{TextRole, "text"}};
}
