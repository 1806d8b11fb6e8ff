#pragma once

#include <QString>

// The support folder "Morvane" under the user's data folder, and its sub-folders.
// Every read creates the folder it names; a failure to create it is ignored.
namespace AppPaths {
[[nodiscard]] QString support();
// `name` may hold slashes ("Cache/yt-dlp"); intermediate folders are created too.
[[nodiscard]] QString sub(const QString &name);
} // namespace AppPaths
