#include "TextHelpers.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

bool isWebScheme(const QString &scheme)
{
    const QString lower = scheme.toLower();
    return lower == QLatin1String("http") || lower == QLatin1String("https");
}

bool isForbiddenInLink(QChar c)
{
    // Format characters (zero-width spaces, direction overrides) are invisible in a pasted
    // link and could make it point somewhere other than it appears to.
    return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format;
}

// A candidate starts with a web scheme, with "www." or with a bare host name followed by a path
// ("example.com/x"), never inside a word, an address or another link. A bare host needs the path:
// without one, file names such as "notes.txt" would read as links. It ends at whitespace, a
// control character or a character that cannot stand unencoded in a link and usually delimits
// one in prose (quotes, angle brackets).
const QRegularExpression &linkCandidate()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?<![\w@.\-/:%+])(?:(?:https?://|www\.)[^\s\p{Cc}\p{Cf}<>"`]+|)"
                       R"((?:[\p{L}\p{N}][\p{L}\p{N}\-]*\.)+\p{L}{2,}(?::\d+)?/[^\s\p{Cc}\p{Cf}<>"`]*))"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return pattern;
}

bool hasWebScheme(const QString &candidate)
{
    return candidate.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           candidate.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

// Removes what ends a sentence rather than the link: trailing punctuation, and closing
// brackets that were opened outside the link ("(see https://a.b/x)"). The brackets are counted
// once, so a long run of them costs no more than reading it.
QStringView trimLinkEnd(QStringView link)
{
    static constexpr QStringView trailing = u".,;:!?'*…";
    static constexpr QStringView closers = u")]}";
    static constexpr QStringView openers = u"([{";
    std::array<qsizetype, 3> open{}, close{};
    for (qsizetype kind = 0; kind < 3; ++kind) {
        open[kind] = link.count(openers[kind]);
        close[kind] = link.count(closers[kind]);
    }
    while (!link.isEmpty()) {
        const QChar last = link.back();
        const qsizetype closer = closers.indexOf(last);
        if (closer >= 0 && close[closer] > open[closer])
            --close[closer];
        else if (!trailing.contains(last))
            break;
        link.chop(1);
    }
    return link;
}

// Where a link can never reach: the characters no candidate holds.
bool endsCandidates(QChar c)
{
    return c.isSpace() || c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
           QStringView(u"<>\"`").contains(c);
}

// The regular-expression engine refuses a whole text that holds an unpaired surrogate; such a
// unit stands for no character at all, so it is left out.
QString withoutLoneSurrogates(const QString &text)
{
    const auto lone = [&text](qsizetype i) {
        if (text[i].isHighSurrogate())
            return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
        if (text[i].isLowSurrogate())
            return i == 0 || !text[i - 1].isHighSurrogate();
        return false;
    };
    qsizetype first = 0;
    while (first < text.size() && !lone(first))
        ++first;
    if (first == text.size())
        return text;
    QString kept = text.first(first);
    for (qsizetype i = first + 1; i < text.size(); ++i) {
        if (!lone(i))
            kept.append(text[i]);
    }
    return kept;
}

QString clockText(qint64 total)
{
    const qint64 hours = total / 3600;
    const qint64 minutes = (total % 3600) / 60;
    const qint64 seconds = total % 60;
    if (total < 3600)
        return QStringLiteral("%1:%2").arg(minutes).arg(seconds, 2, 10, QLatin1Char('0'));
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(seconds, 2, 10, QLatin1Char('0'));
}

// Whole seconds of a finite, non-negative value; values past the 64-bit range are clamped
// instead of overflowing the conversion.
qint64 wholeSeconds(double seconds)
{
    constexpr double limit = 9.0e18;
    return static_cast<qint64>(std::min(seconds, limit));
}

} // namespace

std::optional<QUrl> validWebURL(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || std::any_of(trimmed.cbegin(), trimmed.cend(), isForbiddenInLink))
        return std::nullopt;
    const QUrl url(trimmed, QUrl::StrictMode);
    if (!url.isValid() || !isWebScheme(url.scheme()) || !url.host().contains(QLatin1Char('.')))
        return std::nullopt;
    return url;
}

QList<QUrl> extractURLs(const QString &text)
{
    const QString clean = withoutLoneSurrogates(text);
    QList<QUrl> links;
    // Each stretch between the characters that end every candidate is matched on its own: no
    // link spans two, and a stretch the engine gives up on (a huge host-like token) hides none of
    // the links after it.
    qsizetype start = 0;
    while (start < clean.size()) {
        qsizetype end = start;
        while (end < clean.size() && !endsCandidates(clean[end]))
            ++end;
        auto matches = linkCandidate().globalMatch(QStringView(clean).sliced(start, end - start));
        while (matches.hasNext()) {
            QString candidate = trimLinkEnd(matches.next().capturedView()).toString();
            // As a link detector reads it: a link without a scheme is a web link.
            if (!hasWebScheme(candidate))
                candidate.prepend(QLatin1String("http://"));
            if (const std::optional<QUrl> url = validWebURL(candidate))
                links.append(*url);
        }
        start = end + 1;
    }
    return links;
}

QString formatDuration(std::optional<double> seconds)
{
    if (!seconds || !std::isfinite(*seconds) || *seconds <= 0)
        return QStringLiteral("—");
    return clockText(wholeSeconds(*seconds));
}

QString formatClock(double seconds)
{
    if (!std::isfinite(seconds) || seconds < 0)
        return QStringLiteral("0:00");
    return clockText(wholeSeconds(seconds));
}

QString formatByteCount(qint64 bytes)
{
    if (bytes < 1)
        return QStringLiteral("—");
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

namespace {

// UTF-16 code-unit order puts characters above U+FFFF before U+E000...U+FFFF; shifting the two
// ranges past each other makes the comparison follow code points.
char16_t inCodePointOrder(char16_t unit)
{
    if (unit >= 0xE000)
        return unit - 0x800;
    if (unit >= 0xD800)
        return unit + 0x2000;
    return unit;
}

} // namespace

bool codePointLess(const QString &a, const QString &b)
{
    const auto [inA, inB] = std::mismatch(a.cbegin(), a.cend(), b.cbegin(), b.cend());
    if (inB == b.cend())
        return false;
    if (inA == a.cend())
        return true;
    return inCodePointOrder(inA->unicode()) < inCodePointOrder(inB->unicode());
}
