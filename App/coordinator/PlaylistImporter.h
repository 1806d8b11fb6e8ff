#pragma once

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <QUuid>

class LibraryStore;
class MusicCatalog;

// Turns a pasted playlist or mix link into one of the user's playlists. Owned by the coordinator,
// so an import outlives the screen that started it, and imports run side by side: each makes its
// own playlist when its listing arrives, whatever the user is looking at by then.
class PlaylistImporter final : public QObject
{
    Q_OBJECT

public:
    PlaylistImporter(LibraryStore &library, MusicCatalog &catalog, QObject *parent = nullptr);

    // Announces the start at once; the outcome follows as another message and, on success, the
    // new playlist to open.
    void import(const QString &link);

    // The most entries one import takes from a listing.
    static constexpr int limit = 200;

Q_SIGNALS:
    void toast(const QString &text);
    void imported(const QUuid &playlistID);

private:
    QCoro::Task<> run(QString link);

    LibraryStore &m_library;
    MusicCatalog &m_catalog;
};
