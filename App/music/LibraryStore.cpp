#include "LibraryStore.h"

#include "MusicText.h"
#include "core/AppPaths.h"
#include "core/FreedMemory.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/StringPool.h"
#include "core/TextHelpers.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int saveDelayMs = 600;
constexpr qsizetype catalogLimit = 4000;
constexpr qsizetype playsLimit = 6000;
constexpr qsizetype playsKept = 5000;
constexpr qsizetype recentPlaysKeptInCatalog = 1500;
constexpr qsizetype searchesLimit = 40;
constexpr qsizetype discoveriesLimit = 60;
constexpr qsizetype discoveriesKept = 40;
constexpr qsizetype shownLimit = 1500;

template<typename T> bool fillMissing(std::optional<T> &stored, const std::optional<T> &given)
{
    if (stored || !given)
        return false;
    stored = given;
    return true;
}

// Runs on a worker thread with a snapshot; the file is replaced in one step, so a crash
// mid-write leaves the previous library in place.
bool writeLibrary(const QString &path, const LibraryData &data)
{
    const bool written = Json::writeFile(path, data.toJson());
    returnFreedMemory();
    return written;
}

// Titles ordered by Unicode code points of their composed form, not by UTF-16 units or locale.
QList<uint> titleKey(const QString &title)
{
    return title.normalized(QString::NormalizationForm_C).toUcs4();
}

} // namespace

LibraryStore::LibraryStore(Load load, QObject *parent)
    : QObject(parent)
    , m_path(AppPaths::support() + QStringLiteral("/library.json"))
    , m_saveTimer(this)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(saveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &LibraryStore::saveNow);
    connect(&m_writer, &QFutureWatcher<bool>::finished, this, &LibraryStore::writeFinished);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &LibraryStore::flush);
    if (load == Load::Now) {
        adopt(read(m_path));
        return;
    }
    connect(&m_reader, &QFutureWatcher<LibraryData>::finished, this, &LibraryStore::settle);
    m_reader.setFuture(QtConcurrent::run(&LibraryStore::read, m_path));
}

LibraryStore::~LibraryStore()
{
    flush();
}

LibraryData LibraryStore::read(const QString &path)
{
    Json::removeStaleTemporaries(path);
    LibraryData stored;
    QFile file(path);
    if (file.exists()) {
        std::optional<LibraryData> decoded;
        if (file.open(QIODevice::ReadOnly))
            decoded = LibraryData::fromJson(file.readAll());
        file.close();
        if (decoded) {
            stored = std::move(*decoded);
        } else {
            // Keep the user's likes, playlists and plays for a repair instead of letting the
            // first save overwrite them with an empty library.
            Json::moveAside(path);
            LogManager::appLog(QStringLiteral("library.json could not be read; moved aside to library.json.bad"));
        }
    }
    return stored;
}

void LibraryStore::settle()
{
    if (m_loaded)
        return;
    m_reader.waitForFinished();
    // Taken, not copied: a result left in the future would keep a second library alive once
    // this one is edited.
    LibraryData data = m_reader.future().takeResult();
    // The texts the reader decoded sit between the freed pieces of the parsed document, each
    // holding a page of the reader's memory. Copies made here pack together, and those pages can
    // go back to the system.
    StringPool fresh(StringPool::Storage::Fresh);
    data.shareTexts(fresh);
    adopt(std::move(data));
    // Views built before the file was in read an empty library.
    ++m_historyVersion;
    Q_EMIT statsChanged();
    Q_EMIT historyVersionChanged();
    Q_EMIT libraryChanged();
    Q_EMIT downloadsChanged();
    Q_EMIT loaded();
}

void LibraryStore::adopt(LibraryData data)
{
    m_data = std::move(data);
    m_stats = statsOf(m_data.plays);
    m_loaded = true;
}

void LibraryStore::saveNow()
{
    if (m_quitting) {
        m_writer.waitForFinished();
        if (writeLibrary(m_path, m_data))
            Q_EMIT saved();
        return;
    }
    // One write at a time, so an older snapshot can never land after a newer one.
    if (m_writing) {
        m_writeAgain = true;
        return;
    }
    m_writing = true;
    m_writer.setFuture(QtConcurrent::run(writeLibrary, m_path, m_data));
}

void LibraryStore::writeFinished()
{
    m_writing = false;
    if (m_writer.result())
        Q_EMIT saved();
    if (std::exchange(m_writeAgain, false))
        saveNow();
}

void LibraryStore::flush()
{
    m_quitting = true;
    m_writer.waitForFinished();
    if (m_saveTimer.isActive() || std::exchange(m_writeAgain, false)) {
        m_saveTimer.stop();
        saveNow();
    }
}

void LibraryStore::changed(bool history)
{
    if (history) {
        rebuildStats();
        ++m_historyVersion;
    }
    m_saveTimer.start();
    if (history)
        Q_EMIT historyVersionChanged();
    Q_EMIT libraryChanged();
}

void LibraryStore::rebuildStats()
{
    m_stats = statsOf(m_data.plays);
    Q_EMIT statsChanged();
}

QHash<QString, TrackStat> LibraryStore::statsOf(const QList<PlayEvent> &plays)
{
    QHash<QString, TrackStat> stats;
    for (const PlayEvent &event : plays) {
        TrackStat &stat = stats[event.trackID];
        if (event.skipped)
            ++stat.skips;
        if (event.completed)
            ++stat.completes;
        if (event.isCounted()) {
            ++stat.plays;
            if (event.date >= stat.last)
                stat.last = event.date;
        }
    }
    return stats;
}

void LibraryStore::registerTracks(const QList<Track> &tracks)
{
    settle();
    bool grew = false;
    for (const Track &track : tracks) {
        if (track.isPlaceholder())
            continue;
        const auto stored = m_data.catalog.find(track.id);
        if (stored == m_data.catalog.end()) {
            m_data.catalog.insert(track.id, track);
            grew = true;
            continue;
        }
        // The stored title and artist win; only missing details are filled in.
        const bool genre = fillMissing(stored->genre, track.genre);
        const bool duration = fillMissing(stored->duration, track.duration);
        const bool album = fillMissing(stored->album, track.album);
        grew = grew || genre || duration || album;
    }
    if (m_data.catalog.size() > catalogLimit)
        prune(tracks);
    if (grew)
        changed(false);
}

void LibraryStore::prune(const QList<Track> &registering)
{
    QSet<QString> keep(m_data.likes.cbegin(), m_data.likes.cend());
    for (qsizetype i = std::max<qsizetype>(0, m_data.plays.size() - recentPlaysKeptInCatalog); i < m_data.plays.size();
         ++i)
        keep.insert(m_data.plays.at(i).trackID);
    for (const Playlist &playlist : std::as_const(m_data.playlists)) {
        for (const Track &track : playlist.tracks)
            keep.insert(track.id);
    }
    for (auto it = m_data.downloads.cbegin(); it != m_data.downloads.cend(); ++it)
        keep.insert(it.key());
    for (const Discovery &discovery : std::as_const(m_data.discoveries)) {
        for (const QString &id : discovery.ids)
            keep.insert(id);
    }
    // The tracks being registered are about to be queued, played or filed by the caller.
    for (const Track &track : registering)
        keep.insert(track.id);
    m_data.catalog.removeIf([&keep](const auto &entry) { return !keep.contains(entry.key()); });
}

void LibraryStore::toggleLike(const Track &track)
{
    settle();
    registerTracks({track});
    const qsizetype index = m_data.likes.indexOf(track.id);
    if (index >= 0)
        m_data.likes.removeAt(index);
    else
        m_data.likes.prepend(track.id);
    changed(true);
}

void LibraryStore::record(PlayEvent event)
{
    settle();
    // A live stream or an unknown length must not put NaN or infinity into the library.
    event.listened = std::isfinite(event.listened) ? event.listened : 0;
    if (event.duration && !std::isfinite(*event.duration))
        event.duration.reset();
    m_data.plays.append(std::move(event));
    if (m_data.plays.size() > playsLimit)
        m_data.plays.remove(0, m_data.plays.size() - playsKept);
    changed(true);
}

void LibraryStore::clearHistory()
{
    settle();
    m_data.plays.clear();
    changed(true);
}

void LibraryStore::recordSearch(const QString &text)
{
    settle();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    m_data.searches.removeIf(
        [&trimmed](const QString &search) { return search.compare(trimmed, Qt::CaseInsensitive) == 0; });
    m_data.searches.prepend(trimmed);
    if (m_data.searches.size() > searchesLimit)
        m_data.searches.removeLast();
    changed(false);
}

void LibraryStore::clearSearches()
{
    settle();
    m_data.searches.clear();
    changed(false);
}

void LibraryStore::update(const Track &track)
{
    settle();
    if (track.isPlaceholder())
        return;
    m_data.catalog.insert(track.id, track);
    for (Playlist &playlist : m_data.playlists) {
        for (Track &entry : playlist.tracks) {
            if (entry.id == track.id)
                entry = track;
        }
    }
    changed(false);
}

Playlist *LibraryStore::findPlaylist(const QUuid &id)
{
    const auto found = std::find_if(m_data.playlists.begin(), m_data.playlists.end(),
                                    [&id](const Playlist &playlist) { return playlist.id == id; });
    return found == m_data.playlists.end() ? nullptr : &*found;
}

Playlist LibraryStore::createPlaylist(const QString &name, const QList<Track> &tracks,
                                      const std::optional<QString> &sourceURL)
{
    settle();
    registerTracks(tracks);
    const Playlist playlist{QUuid::createUuid(), name.isEmpty() ? QStringLiteral("New Playlist") : name, tracks,
                            QDateTime::currentDateTimeUtc(), sourceURL};
    m_data.playlists.append(playlist);
    changed(false);
    return playlist;
}

void LibraryStore::renamePlaylist(const QUuid &id, const QString &name)
{
    settle();
    Playlist *playlist = findPlaylist(id);
    if (!playlist || MusicText::trimmedSpaces(name).isEmpty())
        return;
    playlist->name = name;
    changed(false);
}

void LibraryStore::add(const QList<Track> &tracks, const QUuid &playlistID)
{
    settle();
    if (!findPlaylist(playlistID))
        return;
    registerTracks(tracks);
    // Looked up again: registering announces a change, and a listener may have edited the list.
    Playlist *playlist = findPlaylist(playlistID);
    if (!playlist)
        return;
    for (const Track &track : tracks) {
        const bool held = std::any_of(playlist->tracks.cbegin(), playlist->tracks.cend(),
                                      [&track](const Track &entry) { return entry.id == track.id; });
        if (!held)
            playlist->tracks.append(track);
    }
    changed(false);
}

void LibraryStore::remove(const QString &trackID, const QUuid &playlistID)
{
    settle();
    Playlist *playlist = findPlaylist(playlistID);
    if (!playlist)
        return;
    playlist->tracks.removeIf([&trackID](const Track &track) { return track.id == trackID; });
    changed(false);
}

void LibraryStore::move(const QUuid &playlistID, const QList<int> &sources, int destination)
{
    settle();
    Playlist *playlist = findPlaylist(playlistID);
    if (!playlist)
        return;
    QList<Track> &tracks = playlist->tracks;
    // Offsets outside the list are ignored rather than trusted.
    QList<qsizetype> offsets;
    for (int offset : sources) {
        if (offset >= 0 && offset < tracks.size())
            offsets.append(offset);
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    const qsizetype target = std::clamp<qsizetype>(destination, 0, tracks.size());

    QList<Track> moving;
    qsizetype before = 0;
    for (qsizetype offset : std::as_const(offsets)) {
        moving.append(tracks.at(offset));
        before += offset < target ? 1 : 0;
    }
    for (auto it = offsets.crbegin(); it != offsets.crend(); ++it)
        tracks.removeAt(*it);
    for (qsizetype i = 0; i < moving.size(); ++i)
        tracks.insert(target - before + i, moving.at(i));
    changed(false);
}

void LibraryStore::deletePlaylist(const QUuid &id)
{
    settle();
    m_data.playlists.removeIf([&id](const Playlist &playlist) { return playlist.id == id; });
    changed(false);
}

std::optional<Playlist> LibraryStore::playlist(const QUuid &id) const
{
    for (const Playlist &playlist : m_data.playlists) {
        if (playlist.id == id)
            return playlist;
    }
    return std::nullopt;
}

void LibraryStore::recordDownload(const QString &trackID, const QString &path)
{
    settle();
    m_data.downloads.insert(trackID, path);
    changed(false);
    Q_EMIT downloadsChanged();
}

std::optional<QString> LibraryStore::downloadedPath(const QString &trackID) const
{
    const auto path = m_data.downloads.constFind(trackID);
    if (path == m_data.downloads.cend() || !QFileInfo::exists(*path))
        return std::nullopt;
    return *path;
}

QList<Track> LibraryStore::downloadedTracks() const
{
    QList<std::pair<QList<uint>, Track>> keyed;
    for (auto it = m_data.downloads.cbegin(); it != m_data.downloads.cend(); ++it) {
        const auto track = m_data.catalog.constFind(it.key());
        if (track != m_data.catalog.cend() && QFileInfo::exists(it.value()))
            keyed.append({titleKey(track->title), *track});
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : codePointLess(a.second.id, b.second.id);
    });
    QList<Track> result;
    result.reserve(keyed.size());
    for (const auto &entry : std::as_const(keyed))
        result.append(entry.second);
    return result;
}

QList<Track> LibraryStore::tracks(const QStringList &ids) const
{
    QList<Track> result;
    for (const QString &id : ids) {
        const auto track = m_data.catalog.constFind(id);
        if (track != m_data.catalog.cend())
            result.append(*track);
    }
    return result;
}

QList<Track> LibraryStore::recentTracks(int limit) const
{
    QList<Track> result;
    QSet<QString> met;
    for (auto event = m_data.plays.crbegin(); event != m_data.plays.crend(); ++event) {
        if (!event->isCounted() || met.contains(event->trackID))
            continue;
        met.insert(event->trackID);
        const auto track = m_data.catalog.constFind(event->trackID);
        if (track != m_data.catalog.cend())
            result.append(*track);
        if (result.size() >= limit)
            break;
    }
    return result;
}

QSet<QString> LibraryStore::recentIDs(int count) const
{
    QSet<QString> ids;
    const qsizetype first = std::max<qsizetype>(0, m_data.plays.size() - std::max(count, 0));
    for (qsizetype i = first; i < m_data.plays.size(); ++i)
        ids.insert(m_data.plays.at(i).trackID);
    return ids;
}

void LibraryStore::setDiscovery(const Discovery &discovery)
{
    settle();
    m_data.discoveries.removeIf(
        [&discovery](const Discovery &stored) { return stored.kind == discovery.kind && stored.key == discovery.key; });
    m_data.discoveries.append(discovery);
    if (m_data.discoveries.size() > discoveriesLimit) {
        std::stable_sort(m_data.discoveries.begin(), m_data.discoveries.end(),
                         [](const Discovery &a, const Discovery &b) { return a.date > b.date; });
        m_data.discoveries.resize(discoveriesKept);
    }
    changed(false);
}

void LibraryStore::markShown(const QStringList &ids)
{
    settle();
    for (const QString &id : ids)
        ++m_data.shown[id];
    if (m_data.shown.size() > shownLimit) {
        m_data.shown.removeIf([](const auto &entry) { return entry.value() < 2; });
        for (qint64 &count : m_data.shown)
            count /= 2;
    }
    changed(false);
}
