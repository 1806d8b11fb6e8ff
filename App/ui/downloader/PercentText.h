#pragma once

#include <QString>

// A fraction 0...1 as a whole percentage, cut rather than rounded (0.425 is 42, 0.995 is 99).
// A hair of tolerance keeps fractions such as 0.29, whose product with 100 lands just below the
// whole number in binary, from losing a percent; a non-finite fraction reads 0.
[[nodiscard]] int wholePercent(double fraction);
// wholePercent() followed by "%".
[[nodiscard]] QString percentText(double fraction);
