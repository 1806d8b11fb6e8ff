#include "LogManager.h"

#include "AppPaths.h"
#include "Json.h"

#include <QDateTime>
#include <QFile>
#include <QStringDecoder>

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
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
    const QByteArray stamp = '[' + Json::dateText(QDateTime::currentDateTimeUtc()).toUtf8() + "] ";
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += stamp + line.toUtf8() + '\n';
    logQueue().post([bytes = std::move(bytes), path] {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append))
            file.write(bytes);
    });
}

QString read(const QUuid &id)
{
    const QString path = taskLogPath(id);
    std::promise<QString> result;
    logQueue().post([&result, path] {
        QFile file(path);
        QStringDecoder decode(QStringDecoder::Utf8);
        QString text;
        if (file.open(QIODevice::ReadOnly))
            text = decode(file.readAll());
        const bool unreadable = !file.isOpen() || decode.hasError();
        result.set_value(unreadable ? QStringLiteral("No log yet.") : text);
    });
    return result.get_future().get();
}

void remove(const QUuid &id)
{
    logQueue().post([path = taskLogPath(id)] { QFile::remove(path); });
}

QString appLogPath()
{
    return AppPaths::sub(QStringLiteral("Logs")) + QStringLiteral("/app.log");
}

QString taskLogPath(const QUuid &id)
{
    return AppPaths::sub(QStringLiteral("Logs")) + QLatin1Char('/') + Json::uuidText(id) + QStringLiteral(".log");
}

void appLog(const QString &text)
{
    append(text, appLogPath());
}

} // namespace LogManager
