#include "ProgressParser.h"

#include "ErrorInterpreter.h"

#include <QVarLengthArray>

#include <charconv>
#include <cmath>
#include <limits>

namespace ProgressParser {

namespace {

constexpr QStringView progressPrefix = u"MVPROG|";
constexpr QStringView postprocessPrefix = u"MVPP|";
constexpr QStringView itemPrefix = u"MVITEM|";
constexpr QStringView targetPrefix = u"MVDEST|";
constexpr QStringView filePrefix = u"MVFILE|";
constexpr QStringView errorPrefix = u"ERROR:";
constexpr QStringView warningPrefix = u"WARNING:";
constexpr QStringView destinationPrefix = u"[download] Destination: ";
constexpr QStringView mergerPrefix = u"[Merger] Merging formats into ";

template<typename Predicate> QStringView trimmed(QStringView text, Predicate strip)
{
    while (!text.isEmpty() && strip(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && strip(text.back()))
        text.chop(1);
    return text;
}

// Only blanks and tabs: a line break left in a number field means it is not a number.
QStringView trimBlanks(QStringView text)
{
    return trimmed(text, [](QChar c) { return c == u' ' || c == u'\t'; });
}

// Splits at '|' into at most `limit` pieces, the last keeping any further '|'. Returns the
// number of pieces found.
int split(QStringView line, QStringView *pieces, int limit)
{
    int count = 0;
    qsizetype start = 0;
    while (count < limit - 1) {
        const qsizetype bar = line.indexOf(u'|', start);
        if (bar < 0)
            break;
        pieces[count++] = line.sliced(start, bar - start);
        start = bar + 1;
    }
    pieces[count++] = line.sliced(start);
    return count;
}

// A decimal floating-point number, blanks and tabs around it allowed. yt-dlp writes "NA" for a
// missing value; anything that is not a finite decimal number counts as missing.
std::optional<double> number(QStringView field)
{
    field = trimBlanks(field);
    // from_chars takes no plus sign, but "+5" is still a number ("+-5" is not).
    if (field.size() > 1 && field.front() == u'+' && field[1] != u'-' && field[1] != u'+')
        field = field.sliced(1);
    // Most fields are plain byte counts: read those without the general parser.
    if (!field.isEmpty() && field.size() <= 15) {
        qint64 whole = 0;
        bool digits = true;
        for (QChar c : field) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            whole = whole * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return double(whole);
    }
    if (field.isEmpty())
        return std::nullopt;
    QVarLengthArray<char, 64> ascii(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        if (c > 0x7f)
            return std::nullopt;
        ascii[i] = char(c);
    }
    double value = 0;
    const char *end = ascii.data() + ascii.size();
    const auto [stop, error] = std::from_chars(ascii.data(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Truncates toward zero; a value beyond the type's range counts as missing.
template<typename Integer> std::optional<Integer> truncated(std::optional<double> value)
{
    constexpr double lowest = double(std::numeric_limits<Integer>::min());
    constexpr double beyond = -lowest; // 2^(bits-1), the first value out of range
    if (!value || !(*value >= lowest && *value < beyond))
        return std::nullopt;
    return Integer(std::trunc(*value));
}

// A plain decimal integer with an optional sign, no blanks; anything else gives `fallback`.
int integerOr(QStringView field, int fallback)
{
    qsizetype start = (!field.isEmpty() && (field.front() == u'+' || field.front() == u'-')) ? 1 : 0;
    if (start == field.size())
        return fallback;
    for (qsizetype i = start; i < field.size(); ++i) {
        if (field[i] < u'0' || field[i] > u'9')
            return fallback;
    }
    bool ok = false;
    const int value = field.toInt(&ok);
    return ok ? value : fallback;
}

std::optional<ProgressEvent> progress(QStringView line)
{
    QStringView pieces[7];
    if (split(line, pieces, 7) < 7)
        return std::nullopt;
    const auto downloaded = truncated<qint64>(number(pieces[1]));
    if (!downloaded)
        return std::nullopt;
    ProgressEvent::Progress event;
    event.downloaded = *downloaded;
    event.total = truncated<qint64>(number(pieces[2]));
    if (!event.total)
        event.total = truncated<qint64>(number(pieces[3]));
    event.speed = number(pieces[4]);
    event.eta = truncated<int>(number(pieces[5]));
    event.filename = pieces[6].toString();
    return ProgressEvent{event};
}

std::optional<ProgressEvent> postprocess(QStringView line)
{
    QStringView pieces[3];
    if (split(line, pieces, 3) < 3)
        return std::nullopt;
    return ProgressEvent{ProgressEvent::Postprocess{pieces[1].toString(), pieces[2].toString()}};
}

std::optional<ProgressEvent> item(QStringView line)
{
    QStringView pieces[4];
    if (split(line, pieces, 4) < 4)
        return std::nullopt;
    return ProgressEvent{ProgressEvent::Item{integerOr(pieces[1], 1), integerOr(pieces[2], 1), pieces[3].toString()}};
}

std::optional<ProgressEvent> target(QStringView line)
{
    QStringView pieces[3];
    if (split(line, pieces, 3) < 3)
        return std::nullopt;
    return ProgressEvent{ProgressEvent::Target{pieces[1].toString(), pieces[2].toString()}};
}

// Where the next line glued onto a post-processing marker begins, searching from `from`; -1
// when none does.
qsizetype nextGluedLine(QStringView line, qsizetype from)
{
    static constexpr QStringView starts[] = {postprocessPrefix, progressPrefix, itemPrefix,
                                             filePrefix,        errorPrefix,    warningPrefix};
    for (qsizetype at = from; at < line.size(); ++at) {
        const QStringView rest = line.sliced(at);
        for (QStringView prefix : starts) {
            if (rest.startsWith(prefix))
                return at;
        }
    }
    return -1;
}

} // namespace

QList<QStringView> splitGlued(QStringView line)
{
    QList<QStringView> lines;
    // A post-processing marker's status is one word, so whatever follows it is the next line.
    // The scan only moves forward, so a line of any number of glued markers costs one pass.
    while (line.startsWith(postprocessPrefix)) {
        const qsizetype statusStart = line.indexOf(u'|', postprocessPrefix.size());
        if (statusStart < 0)
            break;
        const qsizetype next = nextGluedLine(line, statusStart + 1);
        if (next < 0)
            break;
        lines.append(line.first(next));
        line = line.sliced(next);
    }
    lines.append(line);
    return lines;
}

std::optional<ProgressEvent> parse(QStringView line)
{
    if (line.startsWith(progressPrefix))
        return progress(line);
    if (line.startsWith(postprocessPrefix))
        return postprocess(line);
    if (line.startsWith(itemPrefix))
        return item(line);
    if (line.startsWith(targetPrefix))
        return target(line);
    if (line.startsWith(filePrefix))
        return ProgressEvent{ProgressEvent::FinalFile{line.sliced(filePrefix.size()).toString()}};
    if (line.startsWith(errorPrefix))
        return ProgressEvent{ProgressEvent::Error{trimBlanks(line.sliced(errorPrefix.size())).toString()}};
    if (line.startsWith(warningPrefix))
        return ProgressEvent{ProgressEvent::Warning{trimBlanks(line.sliced(warningPrefix.size())).toString()}};
    // Kept whole: the error interpreter tells a refusal by its program name.
    if (ErrorInterpreter::commandLineError(line))
        return ProgressEvent{ProgressEvent::Error{line.toString()}};
    if (line.startsWith(destinationPrefix))
        return ProgressEvent{ProgressEvent::Destination{line.sliced(destinationPrefix.size()).toString()}};
    if (line.startsWith(mergerPrefix)) {
        const QStringView path =
            trimmed(line.sliced(mergerPrefix.size()), [](QChar c) { return c == u'"' || c == u' '; });
        return ProgressEvent{ProgressEvent::Merging{path.toString()}};
    }
    return ProgressEvent{ProgressEvent::Info{line.toString()}};
}

} // namespace ProgressParser
