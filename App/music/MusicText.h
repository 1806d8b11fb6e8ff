#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Text rules of the music side (time texts live in core/TextHelpers). "Characters" are what a
// reader counts: grapheme clusters, so an accented letter or an emoji flag counts once however
// many code units it takes.
namespace MusicText {

[[nodiscard]] int characterCount(const QString &text);
// Trims blanks and tabs (Unicode space separators) from both ends, but keeps line breaks.
[[nodiscard]] QString trimmedSpaces(const QString &text);

// Strips channel decorations (" - Topic", "VEVO", " Official" …) from an artist name.
[[nodiscard]] QString cleanArtist(const QString &name);
// The first genre keyword found in the strings, looked at in order.
[[nodiscard]] std::optional<QString> detectGenre(const QStringList &strings);

} // namespace MusicText
