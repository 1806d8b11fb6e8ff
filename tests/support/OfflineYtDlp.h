#pragma once

#include <QString>

class TestEnvironment;

// Debian's own yt-dlp in the test's "Tools" folder, kept off the network by a proxy on a local
// port that refuses every connection.
namespace OfflineYtDlp {
void install(const TestEnvironment &environment);
// What the user is told when a music request cannot reach the site.
[[nodiscard]] QString networkMessage();
} // namespace OfflineYtDlp
