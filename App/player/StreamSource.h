#pragma once

#include "core/CancelToken.h"
#include "music/MusicError.h"
#include "music/StreamInfo.h"

#include <QCoroTask>
#include <QHash>
#include <QMap>
#include <QObject>
#include <QUrl>

#include <optional>

class LibraryStore;
class MusicCatalog;

// Where a song's sound comes from: a downloaded mp3, m4a or aac file, a stream resolved less
// than two hours ago, or a new resolution by the catalogue, kept for next time. Main thread only.
class StreamSource final : public QObject
{
    Q_OBJECT

public:
    struct Found
    {
        QUrl url;
        QMap<QString, QString> headers;
        std::optional<StreamInfo> stream; // none for a downloaded file
    };

    StreamSource(LibraryStore *library, MusicCatalog *catalog, QObject *parent = nullptr);

    // Only the first attempt may take a download or a kept stream; retries resolve anew.
    QCoro::Task<MusicResult<Found>> find(Track track, int attempt, CancelToken cancel);
    // The song's kept stream failed: it is not used again.
    void forget(const QString &trackID) { m_cache.remove(trackID); }

private:
    LibraryStore *m_library;
    MusicCatalog *m_catalog;
    QHash<QString, StreamInfo> m_cache;
};
