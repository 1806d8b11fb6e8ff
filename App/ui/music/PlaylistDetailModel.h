#pragma once

#include "SongListScreenModel.h"
#include "music/Playlist.h"

#include <optional>

#include <QUuid>

// One user playlist as a song list, looked up by id at every library change, so a rename, an
// addition from any menu, a removal or a move shows at once, and a playlist deleted elsewhere
// turns the screen into "Playlist not found". Its rows' menus offer the removal.
class PlaylistDetailModel final : public SongListScreenModel
{
    Q_OBJECT
    Q_PROPERTY(bool found READ found NOTIFY headerChanged)

public:
    PlaylistDetailModel(AppState *state, const QUuid &id, QObject *parent = nullptr);

    [[nodiscard]] QString title() const override;
    [[nodiscard]] bool found() const { return m_playlist.has_value(); }
    // The route moved on to another playlist; the screen stays.
    void setPlaylistID(const QUuid &id);

    // Asks for the new name, filled in with the current one.
    Q_INVOKABLE void rename();
    // Deletes at once, without asking, and goes back to the playlists.
    Q_INVOKABLE void deletePlaylist();
    // A row dropped before the row at `destination` of the list as it stands at the drop (the
    // row count for the end).
    Q_INVOKABLE void move(int source, int destination);

protected:
    [[nodiscard]] QList<Track> read() const override;
    [[nodiscard]] QString subtitle() const override;

private:
    void update();

    QUuid m_id;
    std::optional<Playlist> m_playlist; // as the library last held it
};
