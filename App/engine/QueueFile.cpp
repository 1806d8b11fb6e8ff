#include "engine/QueueFile.h"

#include "core/AppPaths.h"
#include "core/FreedMemory.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/StringPool.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <optional>

namespace {

// Any thread.
void writeRecords(const QString &path, const QList<TaskRecord> &records)
{
    QJsonArray array;
    for (const TaskRecord &record : records)
        array.append(record.toJson());
    Json::writeFile(path, QJsonDocument(array).toJson(QJsonDocument::Compact));
    returnFreedMemory();
}

} // namespace

QueueFile::QueueFile(Records records)
    : m_records(std::move(records))
{
    m_writer.setMaxThreadCount(1);
}

QueueFile::~QueueFile()
{
    m_writer.waitForDone();
}

QString QueueFile::path()
{
    return AppPaths::support() + QStringLiteral("/queue.json");
}

QList<TaskRecord> QueueFile::read()
{
    const QString path = QueueFile::path();
    Json::removeStaleTemporaries(path);
    QFile file(path);
    if (!file.exists())
        return {};

    // Any failure makes the whole file unusable: one bad record is enough.
    std::optional<QString> problem;
    QList<TaskRecord> records;
    StringPool pool;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else if (const auto array = Json::parseArray(file.readAll()); !array) {
        problem = QStringLiteral("not a JSON array");
    } else {
        for (const QJsonValue &value : *array) {
            QString error = QStringLiteral("a record is not an object");
            auto record = value.isObject() ? TaskRecord::fromJson(value.toObject(), &error) : std::nullopt;
            if (!record) {
                problem = error;
                break;
            }
            record->options.shareTexts(pool);
            records.append(std::move(*record));
        }
    }
    if (!problem)
        return records;
    Json::moveAside(path);
    LogManager::appLog(QStringLiteral("queue.json could not be read (") + *problem +
                       QStringLiteral("); moved aside to queue.json.bad, starting with an empty queue"));
    return {};
}

void QueueFile::scheduleSave()
{
    if (m_closed || m_savePending)
        return;
    m_savePending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_savePending && !m_closed && !m_writing)
                startWrite();
        },
        Qt::QueuedConnection);
}

void QueueFile::startWrite()
{
    m_savePending = false;
    m_writing = true;
    // The copies share their text with the tasks and never change, so the writer thread reads
    // them safely while the tasks go on changing here. The destructor waits for the writer, so
    // `this` outlives the job.
    m_writer.start([this, path = path(), records = m_records()] {
        writeRecords(path, records);
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_writing = false;
                if (m_savePending && !m_closed)
                    startWrite();
            },
            Qt::QueuedConnection);
    });
}

void QueueFile::save()
{
    if (m_closed)
        return;
    m_savePending = false;
    m_writer.waitForDone();
    writeRecords(path(), m_records());
}

void QueueFile::close()
{
    if (m_savePending)
        save();
    m_writer.waitForDone();
    m_closed = true;
}
