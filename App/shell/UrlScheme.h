#pragma once

#include <QString>

// Links the system opens with the application ("morvane:" URLs from the desktop, any other URL
// passed as an argument) turned into the text that link intake takes.
namespace UrlScheme {
// The decoded value of the first "url" query item of a "morvane:" URL (the scheme compared
// case-sensitively); for anything else, and for such a URL without a "url" item or without a value
// for it, the text as it came.
[[nodiscard]] QString linkText(const QString &openedUrl);
} // namespace UrlScheme
