#include "PlaylistImporter.h"

#include "music/LibraryStore.h"
#include "player/MusicCatalog.h"

#include <QPointer>

PlaylistImporter::PlaylistImporter(LibraryStore &library, MusicCatalog &catalog, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_catalog(catalog)
{}

void PlaylistImporter::import(const QString &link)
{
    Q_EMIT toast(QStringLiteral("Importing playlist…"));
    run(link);
}

QCoro::Task<> PlaylistImporter::run(QString link)
{
    const QPointer<PlaylistImporter> self(this);
    const MusicResult<YTMusic::Expansion> found = co_await m_catalog.expand(link, limit, CancelToken());
    if (!self)
        co_return;
    if (!found.ok()) {
        Q_EMIT toast(found.error().message);
        co_return;
    }
    const YTMusic::Expansion &listing = found.value();
    const QString name = listing.title.isEmpty() ? QStringLiteral("Imported Playlist") : listing.title;
    const Playlist playlist = m_library.createPlaylist(name, listing.tracks, link);
    Q_EMIT toast(QStringLiteral("Imported %1 songs").arg(listing.tracks.size()));
    Q_EMIT imported(playlist.id);
}
