#pragma once

#include "SongListScreenModel.h"

// The library's own song lists: Liked Songs (newest like first), Recently Played (the last 100
// distinct songs) and Downloaded Songs (whose files exist). Liked and recent follow every library
// edit; the downloaded list looks at the disk when shown and when a download is recorded only.
class LibrarySongsModel final : public SongListScreenModel
{
    Q_OBJECT

public:
    enum class Source { Liked, Recent, Downloaded };

    LibrarySongsModel(AppState *state, Source source, QObject *parent = nullptr);

    [[nodiscard]] QString title() const override;

    // Recently Played's button: forgets every play; likes and playlists stay.
    Q_INVOKABLE void clearHistory();

protected:
    [[nodiscard]] QList<Track> read() const override;
    [[nodiscard]] QString subtitle() const override;

private:
    Source m_source;
};
