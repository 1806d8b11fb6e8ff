#pragma once

#include "engine/DownloadOptions.h"

#include <QString>

// Download requests for tests, built the way the coordinator builds them.
namespace TestRequests {

// A single-video request with the "Best Quality" preset's plain selector left out and every
// other field taken from the current settings (their registered defaults in a fresh environment).
[[nodiscard]] DownloadOptions defaultRequest(const QString &url, const QString &folder);

} // namespace TestRequests
