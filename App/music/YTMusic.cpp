#include "YTMusic.h"

#include "MusicText.h"
#include "VideoSite.h"
#include "core/AppPaths.h"
#include "core/ErrorInterpreter.h"
#include "core/LogManager.h"
#include "core/ProcessRunner.h"
#include "core/SettingsStore.h"
#include "core/TextHelpers.h"
#include "core/YTDLPManager.h"

#include <QDateTime>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <functional>

using namespace std::chrono_literals;

namespace YTMusic {

namespace {

constexpr auto playlistSearchLimit = 45s;
constexpr auto searchLimit = 60s;
constexpr auto radioLimit = 75s;
constexpr auto resolveLimit = 90s;
constexpr auto playlistLimit = 120s;

MusicError message(const QString &text)
{
    return MusicError{text};
}

std::optional<QString> stringValue(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

// The JSON objects of an array; other elements are skipped, so one odd entry does not cost the
// whole listing.
QList<QJsonObject> objectsOf(const QJsonValue &value)
{
    QList<QJsonObject> objects;
    for (const QJsonArray array = value.toArray(); const QJsonValue &element : array) {
        if (element.isObject())
            objects.append(element.toObject());
    }
    return objects;
}

bool isOnDomain(const QString &host, const QString &domain)
{
    return host == domain || host.endsWith(QLatin1Char('.') + domain);
}

QCoro::Task<MusicResult<QList<Track>>> filteredListing(QString target, int end, std::chrono::milliseconds timeout,
                                                       std::function<bool(std::optional<double>)> keep,
                                                       CancelToken cancel)
{
    const auto listing = co_await detail::flat(target, end, timeout, cancel);
    if (!listing.ok())
        co_return listing.error();
    QList<Track> tracks = detail::tracksFrom(listing.value());
    tracks.removeIf([&keep](const Track &track) { return !keep(track.duration); });
    co_return tracks;
}

// One query item of a link as the address bar holds it: the value is absent when the item
// has no "=", and empty when nothing follows the "=".
struct QueryItem
{
    QString name;
    std::optional<QString> value;
};

QList<QueryItem> queryItems(const QUrl &url)
{
    QList<QueryItem> items;
    if (!url.hasQuery())
        return items;
    const QStringList pieces = url.query(QUrl::FullyEncoded).split(QLatin1Char('&'));
    for (const QString &piece : pieces) {
        const qsizetype equals = piece.indexOf(QLatin1Char('='));
        QueryItem item;
        item.name = QUrl::fromPercentEncoding(piece.left(equals < 0 ? piece.size() : equals).toUtf8());
        if (equals >= 0)
            item.value = QUrl::fromPercentEncoding(piece.mid(equals + 1).toUtf8());
        items.append(item);
    }
    return items;
}

std::optional<QString> firstValue(const QList<QueryItem> &items, const QString &name)
{
    const auto found =
        std::find_if(items.begin(), items.end(), [&name](const QueryItem &item) { return item.name == name; });
    return found == items.end() ? std::nullopt : found->value;
}

Expansion singleVideo(const QString &id)
{
    // The player fills in the details when it resolves the stream.
    return Expansion{QString(), {Track{id, QStringLiteral("Loading…"), QStringLiteral("YouTube"), {}, {}, {}}}};
}

QString selectorFor(int attempt)
{
    static const QString selectors[] = {
        QStringLiteral("bestaudio[ext=m4a]/bestaudio[acodec^=mp4a]/bestaudio[protocol^=m3u8]"),
        QStringLiteral("bestaudio/best"),
        QStringLiteral("best[ext=mp4]/best"),
    };
    return selectors[std::clamp(attempt, 0, 2)];
}

std::optional<StreamInfo> streamFrom(const QString &stdoutText, const Track &requested)
{
    const QStringList lines = stdoutText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty())
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(lines.first().toUtf8());
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject info = document.object();
    const auto link = stringValue(info, QStringLiteral("url"));
    if (!link)
        return std::nullopt;
    const QUrl url(*link, QUrl::StrictMode);
    if (!url.isValid() || link->isEmpty())
        return std::nullopt;

    StreamInfo stream;
    stream.url = url;
    const QJsonObject headers = info.value(QStringLiteral("http_headers")).toObject();
    for (auto it = headers.begin(); it != headers.end(); ++it) {
        if (it.value().isString())
            stream.headers.insert(it.key(), it.value().toString());
    }
    stream.track = Track::from(info).value_or(requested);
    if (!stream.track.genre)
        stream.track.genre = requested.genre;
    stream.resolved = QDateTime::currentDateTimeUtc();
    return stream;
}

} // namespace

namespace detail {

QCoro::Task<MusicResult<RunResult>> run(QStringList arguments, std::chrono::milliseconds timeout, CancelToken cancel)
{
    const QString executable = AppPaths::sub(QStringLiteral("Tools")) + QStringLiteral("/yt-dlp");
    const QFileInfo info(executable);
    if (!info.isFile() || !info.isExecutable())
        co_return message(QStringLiteral("yt-dlp isn’t installed yet."));

    const QStringList fullArguments = YTDLPManager::baseArguments(SettingsStore::networkSnapshot()) + arguments;
    const RunResult result = co_await ProcessRunner::run(executable, fullArguments, timeout, cancel);
    if (result.timedOut)
        co_return message(QStringLiteral("YouTube took too long to respond."));
    co_return result;
}

QString errorText(const RunResult &result)
{
    QString text = ErrorInterpreter::failureText(result.stderrText);
    if (text.isEmpty())
        text = QStringLiteral("exit code %1").arg(result.status);
    return ErrorInterpreter::explain(text, result.status, ErrorInterpreter::Run::StartsOver);
}

QCoro::Task<MusicResult<QJsonObject>> flat(QString target, int end, std::chrono::milliseconds timeout,
                                           CancelToken cancel)
{
    const QStringList arguments{QStringLiteral("-J"),
                                QStringLiteral("--flat-playlist"),
                                QStringLiteral("--yes-playlist"),
                                QStringLiteral("--no-warnings"),
                                QStringLiteral("--playlist-end"),
                                QString::number(end),
                                QStringLiteral("--"),
                                target};
    const auto run = co_await detail::run(arguments, timeout, cancel);
    if (!run.ok())
        co_return run.error();
    const RunResult &result = run.value();

    if (result.status == 0 || !result.stdoutText.isEmpty()) {
        const QJsonDocument document = QJsonDocument::fromJson(result.stdoutText.toUtf8());
        // A failed run may still have listed what it found; but offline, yt-dlp exits 1 and
        // prints a listing whose only entry is null, which is the failure and not "no results".
        if (document.isObject() &&
            (result.status == 0 || !objectsOf(document.object().value(QStringLiteral("entries"))).isEmpty()))
            co_return document.object();
    }
    LogManager::appLog(QStringLiteral("music list error ") + target + QStringLiteral(": ") + result.stderrText);
    co_return message(errorText(result));
}

QList<Track> tracksFrom(const QJsonObject &listing)
{
    QList<Track> tracks;
    QSet<QString> seen;
    for (const QJsonObject &entry : objectsOf(listing.value(QStringLiteral("entries")))) {
        const auto track = Track::from(entry);
        if (!track || seen.contains(track->id))
            continue;
        seen.insert(track->id);
        tracks.append(*track);
    }
    return tracks;
}

} // namespace detail

bool isYouTubeURL(const QString &text)
{
    const auto url = validWebURL(text);
    if (!url)
        return false;
    // A host merely ending in the same letters ("notyoutube.com") is another site.
    const QString host = url->host().toLower();
    return !host.isEmpty() && (isOnDomain(host, QString::fromUtf16(VideoSite::mainDomain)) ||
                               isOnDomain(host, QString::fromUtf16(VideoSite::shortDomain)));
}

QCoro::Task<MusicResult<QList<Track>>> search(QString query, int count, CancelToken cancel)
{
    const QString target = QStringLiteral("ytsearch%1:").arg(count) + query;
    co_return co_await filteredListing(
        target, count, searchLimit, [](std::optional<double> d) { return d && *d > 0 && *d < 3600; }, cancel);
}

QCoro::Task<MusicResult<QList<Track>>> radio(QString seed, int limit, CancelToken cancel)
{
    const QString target = VideoSite::mixLink(seed, QStringLiteral("RD") + seed);
    co_return co_await filteredListing(
        target, limit, radioLimit, [](std::optional<double> d) { return !d || *d < 1800; }, cancel);
}

QCoro::Task<MusicResult<QList<Track>>> searchNewest(QString artist, int count, CancelToken cancel)
{
    const QString target = QStringLiteral("ytsearchdate%1:").arg(count) + artist + QStringLiteral(" official audio");
    co_return co_await filteredListing(
        target, count, searchLimit, [](std::optional<double> d) { return d && *d > 60 && *d < 900; }, cancel);
}

QCoro::Task<QList<PlaylistRef>> searchPlaylists(QString query, CancelToken cancel)
{
    // Every reserved character is encoded: "rock & roll" must not end at the "&".
    const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(query));
    const QString target = VideoSite::playlistResultsLink(encoded);
    const auto listing = co_await detail::flat(target, 8, playlistSearchLimit, cancel);
    if (!listing.ok())
        co_return QList<PlaylistRef>();

    QList<PlaylistRef> playlists;
    for (const QJsonObject &entry : objectsOf(listing.value().value(QStringLiteral("entries")))) {
        const auto url = stringValue(entry, QStringLiteral("url"));
        const auto id = stringValue(entry, QStringLiteral("id"));
        if (!url || !url->contains(QLatin1String("list=")) || !id)
            continue;
        PlaylistRef ref;
        ref.id = *id;
        ref.url = *url;
        ref.title = stringValue(entry, QStringLiteral("title")).value_or(QStringLiteral("Playlist"));
        // A present "uploader" wins even when it is null.
        const QString owner =
            entry.contains(QStringLiteral("uploader")) ? QStringLiteral("uploader") : QStringLiteral("channel");
        ref.uploader = stringValue(entry, owner).value_or(QString());
        const QList<QJsonObject> thumbnails = objectsOf(entry.value(QStringLiteral("thumbnails")));
        if (!thumbnails.isEmpty()) {
            if (const auto link = stringValue(thumbnails.last(), QStringLiteral("url"))) {
                const QUrl thumbnail(*link, QUrl::StrictMode);
                if (thumbnail.isValid() && !link->isEmpty())
                    ref.thumbnail = thumbnail;
            }
        }
        playlists.append(ref);
    }
    co_return playlists;
}

QCoro::Task<MusicResult<Expansion>> expand(QString url, int limit, CancelToken cancel)
{
    const QUrl link(url, QUrl::StrictMode);
    if (!url.isEmpty() && !link.isValid())
        co_return message(QStringLiteral("That doesn’t look like a valid link."));

    const QList<QueryItem> items = queryItems(link);
    const std::optional<QString> listId = firstValue(items, QStringLiteral("list"));
    const std::optional<QString> videoId = firstValue(items, QStringLiteral("v"));
    const QString host = link.host().toLower();
    const bool isShort = host.contains(QString::fromUtf16(VideoSite::shortDomain));
    const QString path = link.path(QUrl::FullyDecoded);

    if (isShort && !listId) {
        const QString candidate = path.mid(1);
        if (MusicText::characterCount(candidate) == 11)
            co_return singleVideo(candidate);
    }

    if (listId && !listId->isEmpty()) {
        const QString target = listId->startsWith(QLatin1String("RD")) && videoId
                                   ? VideoSite::mixLink(*videoId, *listId)
                                   : VideoSite::playlistLink(*listId);
        const auto listing = co_await detail::flat(target, limit, playlistLimit, cancel);
        if (!listing.ok())
            co_return listing.error();
        const QList<Track> tracks = detail::tracksFrom(listing.value());
        if (tracks.isEmpty())
            co_return message(QStringLiteral("That playlist has no playable items."));
        co_return Expansion{
            stringValue(listing.value(), QStringLiteral("title")).value_or(QStringLiteral("YouTube Playlist")), tracks};
    }

    if (videoId && MusicText::characterCount(*videoId) == 11)
        co_return singleVideo(*videoId);
    for (const auto prefix : {u"/shorts/", u"/live/", u"/embed/"}) {
        if (!path.startsWith(QString::fromUtf16(prefix)))
            continue;
        const QStringList pieces = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
        const QString last = pieces.isEmpty() ? QString() : pieces.last();
        if (MusicText::characterCount(last) == 11)
            co_return singleVideo(last);
        break;
    }
    co_return message(QStringLiteral("That link isn’t a YouTube video or playlist."));
}

QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel)
{
    const QStringList arguments{QStringLiteral("-f"),
                                selectorFor(attempt),
                                QStringLiteral("-j"),
                                QStringLiteral("--no-playlist"),
                                QStringLiteral("--no-warnings"),
                                QStringLiteral("--"),
                                VideoSite::watchLink(track.id)};
    const auto run = co_await detail::run(arguments, resolveLimit, cancel);
    if (!run.ok())
        co_return run.error();
    const RunResult &result = run.value();
    if (result.status == 0) {
        if (auto stream = streamFrom(result.stdoutText, track))
            co_return *stream;
    }
    LogManager::appLog(QStringLiteral("resolve %1 attempt %2: ").arg(track.id, QString::number(attempt)) +
                       result.stderrText);
    co_return message(detail::errorText(result));
}

} // namespace YTMusic
