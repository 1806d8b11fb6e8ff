#pragma once

#include <QString>

// Text rules of the recommender.
namespace RecommendText {

// The form under which artists are compared everywhere in recommendations: lower case, with
// blanks and tabs trimmed from both ends but line breaks kept.
[[nodiscard]] QString artistKey(const QString &artist);

// Each letter that starts the text or follows a non-letter in upper case, the others in lower
// case: "hip-hop" gives "Hip-Hop", "r&b" gives "R&B".
[[nodiscard]] QString capitalized(const QString &text);

} // namespace RecommendText
