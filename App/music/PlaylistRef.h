#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUrl>

#include <optional>

// A playlist found by the playlist search; shown, never stored.
struct PlaylistRef
{
    QString id; // the site's playlist id
    QString title;
    QString uploader; // possibly empty
    QString url;      // the playlist link (holds "list=")
    std::optional<QUrl> thumbnail;

    bool operator==(const PlaylistRef &) const = default;
};

inline size_t qHash(const PlaylistRef &ref, size_t seed = 0)
{
    return qHashMulti(seed, ref.id, ref.title, ref.uploader, ref.url, ref.thumbnail.has_value(),
                      ref.thumbnail.value_or(QUrl()));
}
