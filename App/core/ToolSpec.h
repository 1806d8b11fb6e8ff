#pragma once

#include "Tool.h"

#include <QList>
#include <QStringList>
#include <QUrl>

// How a download holds the executable: bare, or as a member of an archive.
enum class ArchiveKind { None, Zip, TarXz };

// How one tool is downloaded and asked for its version.
struct ToolSpec
{
    Tool tool = Tool::Ytdlp;
    // Tried in order until one succeeds.
    QList<QUrl> urls;
    // For an archive, the member taken is the regular file whose base name is the executable's.
    ArchiveKind archive = ArchiveKind::None;
    QStringList versionArgs;

    bool operator==(const ToolSpec &) const = default;
};
