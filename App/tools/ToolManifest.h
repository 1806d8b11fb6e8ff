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
// Temporary files of saves that never finished are removed first.
[[nodiscard]] Loaded load();

// Writes the whole manifest atomically, compact, with slashes escaped as "\/". False when not
// written. An unreadable file is the caller's to move aside first (Json::moveAside).
bool save(const Entries &entries);

} // namespace ToolManifest
