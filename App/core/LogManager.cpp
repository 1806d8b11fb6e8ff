#include "LogManager.h"

#include "AppPaths.h"
#include "Json.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPromise>
#include <QStringDecoder>

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The serial queue behind the log: one thread that runs jobs in the order they were posted.
class LogQueue
{
public:
    LogQueue()
        : m_thread([this] { run(); })
    {}
    ~LogQueue()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }

    void post(std::function<void()> job)
    {
        {
            std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_wake.notify_one();
    }

private:
    void run()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
                if (m_jobs.empty())
                    return; // stopping, and everything posted has been written
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            job();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    bool m_stopping = false;
    std::thread m_thread;
};

LogQueue &logQueue()
{
    static LogQueue queue;
    return queue;
}

// The last `maxBytes` of the file, less the part of a line they start in.
LogManager::Tail tailOf(const QString &path, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {QStringLiteral("No log yet."), false};
    const qint64 size = file.size();
    QByteArray bytes;
    bool cut = false;
    if (size <= maxBytes) {
        bytes = file.readAll();
    } else {
        // One byte more than kept tells whether the kept part already starts a line.
        file.seek(size - maxBytes - 1);
        bytes = file.read(maxBytes + 1);
        const qsizetype newline = bytes.indexOf('\n');
        if (newline >= 0) {
            bytes.remove(0, newline + 1);
        } else {
            // One partial line: at least no character cut in half.
            qsizetype start = 1;
            while (start < bytes.size() && (uchar(bytes[start]) & 0xC0) == 0x80)
                ++start;
            bytes.remove(0, start);
        }
        cut = true;
    }
    QStringDecoder decode(QStringDecoder::Utf8);
    QString text = decode(bytes);
    if (file.error() != QFile::NoError || decode.hasError())
        return {QStringLiteral("No log yet."), false};
    return {text, cut};
}

QByteArray stampNow()
{
    return '[' + Json::dateText(QDateTime::currentDateTimeUtc()).toUtf8() + "] ";
}

// On the log thread.
void appendBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(bytes);
}

QString taskLogIn(const QString &folder, const QUuid &id)
{
    return folder + QLatin1Char('/') + Json::uuidText(id) + QStringLiteral(".log");
}

} // namespace

namespace LogManager {

void append(const QString &text, const QString &path)
{
    appendLines({text}, path);
}

void appendLines(const QStringList &lines, const QString &path)
{
    if (lines.isEmpty())
        return;
    const QByteArray stamp = stampNow();
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += stamp + line.toUtf8() + '\n';
    logQueue().post([bytes = std::move(bytes), path] { appendBytes(path, bytes); });
}

void appendToTasks(const QList<std::pair<QUuid, QString>> &lines)
{
    const QString folder = AppPaths::sub(QStringLiteral("Logs"));
    const QByteArray stamp = stampNow();
    QList<std::pair<QString, QByteArray>> writes;
    writes.reserve(lines.size());
    for (const auto &[id, text] : lines)
        writes.append({taskLogIn(folder, id), stamp + text.toUtf8() + '\n'});
    logQueue().post([writes = std::move(writes)] {
        for (const auto &[path, bytes] : writes)
            appendBytes(path, bytes);
    });
}

QString read(const QUuid &id)
{
    const QString path = taskLogPath(id);
    std::promise<QString> result;
    logQueue().post([&result, path] { result.set_value(tailOf(path, std::numeric_limits<qint64>::max()).text); });
    return result.get_future().get();
}

void remove(const QUuid &id)
{
    logQueue().post([path = taskLogPath(id)] { QFile::remove(path); });
}

void removeTaskLogsExcept(QSet<QUuid> kept)
{
    logQueue().post([folder = QDir(AppPaths::sub(QStringLiteral("Logs"))), kept = std::move(kept)] {
        for (const QString &name : folder.entryList({QStringLiteral("*.log")}, QDir::Files)) {
            const QStringView stem = QStringView(name).chopped(4);
            const QUuid id = QUuid::fromString(stem);
            if (!id.isNull() && Json::uuidText(id) == stem && !kept.contains(id))
                QFile::remove(folder.filePath(name));
        }
    });
}

QFuture<Tail> readTail(const QUuid &id, qint64 maxBytes)
{
    auto promise = std::make_shared<QPromise<Tail>>();
    QFuture<Tail> future = promise->future();
    promise->start();
    logQueue().post([promise, path = taskLogPath(id), maxBytes] {
        promise->addResult(tailOf(path, maxBytes));
        promise->finish();
    });
    return future;
}

QString appLogPath()
{
    return AppPaths::sub(QStringLiteral("Logs")) + QStringLiteral("/app.log");
}

QString taskLogPath(const QUuid &id)
{
    return taskLogIn(AppPaths::sub(QStringLiteral("Logs")), id);
}

void appLog(const QString &text)
{
    append(text, appLogPath());
}

} // namespace LogManager
