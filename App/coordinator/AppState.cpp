#include "AppState.h"

#include "DownloadRequests.h"
#include "core/FreedMemory.h"
#include "core/LogManager.h"
#include "core/SettingsStore.h"
#include "engine/QueueFile.h"
#include "platform/MpvAudio.h"
#include "player/YTMusicCatalog.h"

#include <QCoroFuture>
#include <QCoroSignal>
#include <QPointer>
#include <QRandomGenerator>
#include <QtConcurrent>

namespace {
std::unique_ptr<MusicCatalog> catalogOrDefault(std::unique_ptr<MusicCatalog> catalog)
{
    return catalog ? std::move(catalog) : std::make_unique<YTMusicCatalog>();
}

std::unique_ptr<AudioBackend> audioOrDefault(std::unique_ptr<AudioBackend> audio)
{
    return audio ? std::move(audio) : std::make_unique<MpvAudio>();
}

// The tool manager comes first and reads no settings; everything after it may.
QObject *afterRegisteringDefaults()
{
    SettingsStore::registerDefaults();
    return nullptr;
}

// The download screen never opens in the advanced mode, whatever the stored default says.
Preset startingPreset()
{
    const Preset preset = DownloadRequests::defaultPreset();
    return preset == Preset::Custom ? Preset::Best : preset;
}

template<typename T, typename Signal> void publish(AppState *state, T &field, const T &value, Signal changed)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT(state->*changed)();
}
} // namespace

AppState::AppState(Backends backends, QObject *parent)
    : QObject(parent)
    , m_deps(&m_network)
    , m_history(afterRegisteringDefaults())
    , m_downloads(&m_history, DownloadManager::Restore::Later)
    , m_library(LibraryStore::Load::Later)
    , m_catalog(catalogOrDefault(std::move(backends.catalog)))
    , m_audio(audioOrDefault(std::move(backends.audio)))
    , m_artwork(&m_network)
    , m_engine(&m_library, m_catalog.get(), &QDateTime::currentDateTime, QRandomGenerator::global())
    , m_player(&m_library, &m_engine, m_audio.get(), m_catalog.get(), &m_artwork, PlayerManager::steadyClock(),
               QRandomGenerator::global())
    , m_search(&m_library, m_catalog.get())
    , m_songs(m_downloads, m_library, m_engine, [this] { return m_setupDone; })
    , m_preset(startingPreset())
    , m_fetch(*this)
    , m_intake(*this, m_fetch)
    , m_importer(m_library, *m_catalog)
{
    m_history.beginLoading();
    loadStored();
    // The queue dies with this object, so its callback never outlives what it calls.
    m_downloads.onFinished = [this](DownloadTask *task) { m_songs.downloadFinished(*task); };
    connect(&m_songs, &SongDownloads::toast, this, [this](const QString &text) { setToast(text); });
    connect(&m_importer, &PlaylistImporter::toast, this, [this](const QString &text) { setToast(text); });
    connect(&m_importer, &PlaylistImporter::imported, this, [this](const QUuid &id) { setRoute(Route::playlist(id)); });
    for (const auto changed : {&AppState::setupDoneChanged, &AppState::urlTextChanged, &AppState::fetchStateChanged})
        connect(this, changed, this, &AppState::canDownloadChanged);
}

AppState::~AppState() = default;

void AppState::setRoute(const Route &route)
{
    publish(this, m_route, route, &AppState::routeChanged);
}

void AppState::setShowNowPlaying(bool shown)
{
    publish(this, m_showNowPlaying, shown, &AppState::showNowPlayingChanged);
}

void AppState::setShowQueue(bool shown)
{
    publish(this, m_showQueue, shown, &AppState::showQueueChanged);
}

void AppState::setNamePrompt(std::optional<NamePrompt> prompt)
{
    // Prompts hold a callback and never compare equal: every assignment is news.
    m_namePrompt = std::move(prompt);
    Q_EMIT namePromptChanged();
}

void AppState::setSelection(SidebarItem item)
{
    publish(this, m_selection, item, &AppState::selectionChanged);
}

void AppState::setUrlText(const QString &text)
{
    publish(this, m_urlText, text, &AppState::urlTextChanged);
}

void AppState::setPreset(Preset preset)
{
    publish(this, m_preset, preset, &AppState::presetChanged);
}

void AppState::setVideoFormatID(const QString &id)
{
    publish(this, m_videoFormatID, id, &AppState::videoFormatIDChanged);
}

void AppState::setAudioFormatID(const QString &id)
{
    publish(this, m_audioFormatID, id, &AppState::audioFormatIDChanged);
}

void AppState::setSelectedItems(const QSet<int> &items)
{
    publish(this, m_selectedItems, items, &AppState::selectedItemsChanged);
}

void AppState::setToast(std::optional<QString> text)
{
    publish(this, m_toast, text, &AppState::toastChanged);
}

void AppState::setFetchState(const FetchState &state)
{
    publish(this, m_fetchState, state, &AppState::fetchStateChanged);
}

void AppState::setInfo(std::optional<MediaInfo> info)
{
    // Two fetches of one link are still two answers: the screen resets its choices on each.
    m_info = std::move(info);
    Q_EMIT infoChanged();
}

QCoro::Task<> AppState::loadStored()
{
    const QPointer<AppState> self(this);
    QFuture<QList<HistoryItem>> history = QtConcurrent::run(&HistoryStore::read);
    QFuture<QList<TaskRecord>> queue = QtConcurrent::run(&QueueFile::read);
    co_await history;
    co_await queue;
    if (!self)
        co_return;
    // Taken, not copied: results left in the futures would keep the decoded files alive until
    // this ends, after the freed memory has been handed back. The history first: a restored task
    // that finishes is recorded in it.
    m_history.adopt(history.takeResult());
    m_downloads.restore(queue.takeResult());
    // Logs an earlier run left for tasks that neither list holds would stay for good: nothing
    // shows or deletes them. The log thread does the deleting, so the window never waits for it.
    QSet<QUuid> kept = m_downloads.taskIds();
    for (const HistoryItem &item : m_history.items())
        kept.insert(item.id);
    LogManager::removeTaskLogsExcept(std::move(kept));
    if (!m_library.isLoaded())
        co_await qCoro(&m_library, &LibraryStore::loaded);
    if (!self)
        co_return;
    returnFreedMemory();
}

bool AppState::settleSetup()
{
    const bool ready = m_deps.phase() == DependencyManager::Phase::Ready;
    if (ready != m_setupDone) {
        m_setupDone = ready;
        Q_EMIT setupDoneChanged();
    }
    if (ready)
        m_downloads.start();
    return ready;
}

QCoro::Task<> AppState::launch()
{
    // The tool probes may outlast the window's state (a quit during start-up).
    const QPointer<AppState> self(this);
    co_await m_deps.bootstrap();
    if (!self || !settleSetup())
        co_return;
    // Discovery skips what the stored library already holds fresh.
    if (!m_library.isLoaded())
        co_await qCoro(&m_library, &LibraryStore::loaded);
    if (!self)
        co_return;
    m_engine.discover();
    // The update check runs on its own; the window does not wait for it.
    m_deps.autoUpdateIfDue();
}

QCoro::Task<> AppState::retrySetup()
{
    const QPointer<AppState> self(this);
    co_await m_deps.bootstrap();
    if (self)
        settleSetup();
}

QCoro::Task<> AppState::repairTools()
{
    co_await m_deps.repair();
    // A failed repair leaves the set as usable as it was: it never sends the window back to setup.
    if (m_deps.phase() == DependencyManager::Phase::Ready)
        settleSetup();
}
