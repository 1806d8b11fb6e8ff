#pragma once

#include <QString>

// Scratch folders for installs. They live inside "Tools" rather than /tmp: the final rename
// into place stays on one file system (so it is atomic), and /tmp may be mounted noexec,
// which would fail the version probe of a freshly unpacked tool.
namespace WorkFolder {

inline constexpr char16_t prefix[] = u"mv-";

// Creates "Tools/mv-<UUID>"; an empty text when it cannot be created.
[[nodiscard]] QString make();

// Removes every work folder an earlier run left behind (after a crash or a kill). A link named
// like one is unlinked, and what it points to is left alone.
void removeLeftovers();

} // namespace WorkFolder
