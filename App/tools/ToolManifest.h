#pragma once

#include "ManifestEntry.h"

#include <QString>

#include <map>

// "manifest.json" in the "Tools" folder: the installed tools by raw value ("yt-dlp", "FFmpeg", …).
namespace ToolManifest {

using Entries = std::map<QString, ManifestEntry>;

struct Loaded
{
    Entries entries;
    // The file exists but could not be decoded; it is moved aside before it is overwritten.
    bool unreadable = false;
};

[[nodiscard]] QString path();

// A missing file is an empty manifest; any entry that fails to decode rejects the whole file.
[[nodiscard]] Loaded load();

// Writes the whole manifest atomically, compact, with slashes escaped as "\/". When
// `moveAsideFirst`, the present file becomes "manifest.json.bad" first. False when not written.
bool save(const Entries &entries, bool moveAsideFirst);

} // namespace ToolManifest
