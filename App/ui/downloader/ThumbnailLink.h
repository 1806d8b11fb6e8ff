#pragma once

#include <QString>

#include <optional>

// A thumbnail link as the site gave it, when it is one we may load: only http and https with a
// host, since any other scheme (a file: link to a device, say) could be read without end. Empty
// otherwise, which leaves the placeholder in place.
[[nodiscard]] QString loadableThumbnail(const std::optional<QString> &link);
