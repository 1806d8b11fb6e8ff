#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// Link checks, time texts and text order shared by the downloader and the music side.

// The trimmed text as a web link: http or https (any case), a host holding a dot, and no
// whitespace or control character anywhere inside. Nothing otherwise.
[[nodiscard]] std::optional<QUrl> validWebURL(const QString &text);

// The web links in free text, in order of appearance, duplicates kept. Finds links that
// start with "http://" or "https://", and links without a scheme (taken as http) that start
// with "www." or are a host name followed by a path ("example.com/x"); e-mail addresses and
// other schemes are no links. Drops punctuation that ends a sentence or closes a bracket
// opened before the link, and keeps only what validWebURL() accepts.
[[nodiscard]] QList<QUrl> extractURLs(const QString &text);

// A media duration as "m:ss" or "h:mm:ss"; "—" when absent, not positive or not finite.
[[nodiscard]] QString formatDuration(std::optional<double> seconds);

// A play position or length as "m:ss" or "h:mm:ss"; "0:00" when negative or not finite.
[[nodiscard]] QString formatClock(double seconds);

// A byte count in decimal units as the user reads file sizes ("1.5 GB"); "—" below 1.
[[nodiscard]] QString formatByteCount(qint64 bytes);

// Texts in Unicode code point order: an order that does not depend on locale or process.
[[nodiscard]] bool codePointLess(const QString &a, const QString &b);
