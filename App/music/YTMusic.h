#pragma once

#include "MusicError.h"
#include "PlaylistRef.h"
#include "StreamInfo.h"
#include "Track.h"
#include "core/CancelToken.h"
#include "core/RunResult.h"

#include <QCoroTask>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>

// The music catalogue: the video site read through the installed yt-dlp in flat-listing mode
// (entries are listed without opening each video). Every call runs at most one yt-dlp child with
// a time limit; cancelling its token kills that child, and the call ends as a failed run.
// Failures come back as one sentence for the user.
namespace YTMusic {

// Whether the text is a web link on the video site or its short-link domain (or a sub-domain).
[[nodiscard]] bool isYouTubeURL(const QString &text);

// Songs for a query: only those with a known length under an hour.
QCoro::Task<MusicResult<QList<Track>>> search(QString query, int count, CancelToken cancel = CancelToken());
// The site's mix for a seed song: songs shorter than 30 minutes, or of unknown length.
QCoro::Task<MusicResult<QList<Track>>> radio(QString seed, int limit, CancelToken cancel = CancelToken());
// An artist's newest official audio uploads, between one and fifteen minutes long.
QCoro::Task<MusicResult<QList<Track>>> searchNewest(QString artist, int count, CancelToken cancel = CancelToken());
// Up to eight playlists for a query; any failure gives an empty list.
QCoro::Task<QList<PlaylistRef>> searchPlaylists(QString query, CancelToken cancel = CancelToken());

struct Expansion
{
    QString title; // empty for a single video
    QList<Track> tracks;
};
// A pasted link as a title and tracks: a playlist or mix is listed (up to `limit` entries); a
// single video is answered at once, without yt-dlp, by one "Loading…" placeholder track.
QCoro::Task<MusicResult<Expansion>> expand(QString url, int limit, CancelToken cancel = CancelToken());

// A playable stream for a song. `attempt` counts the retries of one song from 0; each asks
// yt-dlp for a more permissive format.
QCoro::Task<MusicResult<StreamInfo>> resolve(Track track, int attempt, CancelToken cancel = CancelToken());

// The runner and readers the queries above share.
namespace detail {
// Runs the "Tools" folder's yt-dlp with the base arguments followed by `arguments`. Fails only
// when yt-dlp is missing or the time limit passed; any exit status is a result.
QCoro::Task<MusicResult<RunResult>> run(QStringList arguments, std::chrono::milliseconds timeout, CancelToken cancel);
// The user's message for a failed run: its last "ERROR" line, explained.
[[nodiscard]] QString errorText(const RunResult &result);
// A flat listing of `target`, at most `end` entries.
QCoro::Task<MusicResult<QJsonObject>> flat(QString target, int end, std::chrono::milliseconds timeout,
                                           CancelToken cancel);
// The tracks of a listing's "entries", each id once, in listing order.
[[nodiscard]] QList<Track> tracksFrom(const QJsonObject &listing);
} // namespace detail

} // namespace YTMusic
