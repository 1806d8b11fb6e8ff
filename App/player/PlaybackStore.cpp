#include "PlaybackStore.h"

#include "core/AppPaths.h"
#include "core/Json.h"
#include "core/LogManager.h"

#include <QCoreApplication>
#include <QFile>
#include <QtConcurrent>

namespace {

// Runs on the worker: the error text, or empty when the file is in place.
QString writeState(const QString &path, const SavedPlayback &state)
{
    QString error;
    if (!Json::writeFile(path, state.toJson(), &error))
        return error.isEmpty() ? QStringLiteral("unknown error") : error;
    return QString();
}

} // namespace

PlaybackStore::PlaybackStore(QObject *parent)
    : QObject(parent)
    , m_path(AppPaths::support() + QStringLiteral("/playback.json"))
{
    connect(&m_writer, &QFutureWatcher<QString>::finished, this, &PlaybackStore::writeFinished);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &PlaybackStore::quitting);
}

PlaybackStore::~PlaybackStore()
{
    m_writer.waitForFinished();
}

std::optional<SavedPlayback> PlaybackStore::load()
{
    Json::removeStaleTemporaries(m_path);
    QFile file(m_path);
    if (!file.exists())
        return std::nullopt;
    std::optional<SavedPlayback> saved;
    if (file.open(QIODevice::ReadOnly))
        saved = SavedPlayback::fromJson(file.readAll());
    file.close();
    if (!saved)
        Json::moveAside(m_path);
    return saved;
}

void PlaybackStore::save(const SavedPlayback &state)
{
    if (m_quitting) {
        m_writer.waitForFinished();
        m_next.reset();
        const QString error = writeState(m_path, state);
        report(error);
        return;
    }
    if (m_writing) {
        m_next = state;
        return;
    }
    m_writing = true;
    m_writer.setFuture(QtConcurrent::run(writeState, m_path, state));
}

void PlaybackStore::quitting()
{
    m_quitting = true;
    m_writer.waitForFinished();
    if (m_next)
        save(*std::exchange(m_next, std::nullopt));
}

void PlaybackStore::writeFinished()
{
    m_writing = false;
    report(m_writer.result());
    if (m_next)
        save(*std::exchange(m_next, std::nullopt));
}

void PlaybackStore::report(const QString &error)
{
    if (error.isEmpty())
        Q_EMIT saved();
    else
        LogManager::appLog(QStringLiteral("playback save failed: ") + error);
}
