#include "FormatManager.h"

#include "core/AppPaths.h"
#include "core/ErrorInterpreter.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/ProcessRunner.h"
#include "core/TextHelpers.h"
#include "core/YTDLPManager.h"

#include <QCoroFuture>
#include <QFileInfo>
#include <QJsonArray>
#include <QtConcurrent>

#include <algorithm>
#include <initializer_list>
#include <limits>

namespace {

// yt-dlp's JSON is read leniently: a value of another type counts as absent, a boolean counts
// as the number 1 or 0 and a fraction is truncated where a whole number is wanted.

std::optional<QString> textOf(const QJsonValue &value)
{
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<double> numberOf(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? 1.0 : 0.0;
    if (!value.isDouble())
        return std::nullopt;
    return value.toDouble();
}

std::optional<qint64> integerOf(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (!value.isDouble())
        return std::nullopt;
    // An integer that fits in 64 bits is kept exactly; going through a double would round
    // sizes above 2^53.
    constexpr qint64 notExact = std::numeric_limits<qint64>::min();
    if (const qint64 exact = value.toInteger(notExact); exact != notExact)
        return exact;
    return Json::truncated(value.toDouble());
}

// For fields read from a chain of keys: the first key that is present decides, even when it
// holds null or another type, so a later key is never consulted behind it.
QJsonValue firstPresent(const QJsonObject &object, std::initializer_list<QLatin1String> keys)
{
    for (const QLatin1String key : keys) {
        const auto found = object.constFind(key);
        if (found != object.constEnd())
            return *found;
    }
    return QJsonValue(QJsonValue::Undefined);
}

// Every element when all are objects; nullopt for anything else, one stray element included.
std::optional<QList<QJsonObject>> objectsOf(const QJsonValue &value)
{
    if (!value.isArray())
        return std::nullopt;
    const QJsonArray array = value.toArray();
    QList<QJsonObject> objects;
    objects.reserve(array.size());
    for (const QJsonValue &element : array) {
        if (!element.isObject())
            return std::nullopt;
        objects.append(element.toObject());
    }
    return objects;
}

std::optional<QUrl> urlOf(const QJsonValue &value)
{
    const auto text = textOf(value);
    if (!text)
        return std::nullopt;
    QUrl url(*text, QUrl::StrictMode);
    if (!url.isValid() || url.isEmpty())
        return std::nullopt;
    return url;
}

// The "url" of the last element of a non-empty "thumbnails" list (yt-dlp lists the largest last).
std::optional<QUrl> lastThumbnailOf(const QJsonObject &object)
{
    const auto thumbnails = objectsOf(object.value(QLatin1String("thumbnails")));
    if (!thumbnails || thumbnails->isEmpty())
        return std::nullopt;
    return urlOf(thumbnails->last().value(QLatin1String("url")));
}

QStringList sortedKeys(const QJsonValue &value)
{
    if (!value.isObject())
        return {};
    QStringList keys = value.toObject().keys();
    std::sort(keys.begin(), keys.end(), codePointLess);
    return keys;
}

PlaylistEntry entryOf(const QJsonObject &object, int position)
{
    PlaylistEntry entry;
    entry.id = position;
    entry.title =
        textOf(object.value(QLatin1String("title"))).value_or(QStringLiteral("Item ") + QString::number(position));
    entry.url = textOf(firstPresent(object, {QLatin1String("url"), QLatin1String("webpage_url")}));
    entry.duration = numberOf(object.value(QLatin1String("duration")));
    return entry;
}

FormatInfo formatOf(const QJsonObject &object)
{
    FormatInfo format;
    format.id = textOf(object.value(QLatin1String("format_id"))).value_or(format.id);
    format.ext = textOf(object.value(QLatin1String("ext"))).value_or(QString());
    format.height = integerOf(object.value(QLatin1String("height")));
    format.width = integerOf(object.value(QLatin1String("width")));
    format.fps = numberOf(object.value(QLatin1String("fps")));
    format.vcodec = textOf(object.value(QLatin1String("vcodec"))).value_or(format.vcodec);
    format.acodec = textOf(object.value(QLatin1String("acodec"))).value_or(format.acodec);
    format.filesize = integerOf(firstPresent(object, {QLatin1String("filesize"), QLatin1String("filesize_approx")}));
    format.tbr = numberOf(object.value(QLatin1String("tbr")));
    format.note = textOf(object.value(QLatin1String("format_note"))).value_or(QString());
    format.proto = textOf(object.value(QLatin1String("protocol"))).value_or(QString());
    return format;
}

qint64 heightLimit(Preset preset)
{
    switch (preset) {
    case Preset::Uhd: return 2160;
    case Preset::Hd1080: return 1080;
    case Preset::Hd720: return 720;
    case Preset::Best:
    case Preset::Audio:
    case Preset::Custom: break;
    }
    return 0;
}

// Runs on a pool thread: nullopt when the answer is not one JSON object.
std::optional<MediaInfo> parseAnswer(const QString &stdoutText, const QString &url)
{
    const auto object = Json::parseObject(stdoutText.toUtf8());
    if (!object)
        return std::nullopt;
    return FormatManager::parse(*object, url);
}

} // namespace

namespace FormatManager {

MediaInfo parse(const QJsonObject &json, const QString &fallbackURL)
{
    MediaInfo info;
    info.id = textOf(json.value(QLatin1String("id"))).value_or(QString());
    info.title = textOf(json.value(QLatin1String("title"))).value_or(QStringLiteral("Untitled"));
    info.duration = numberOf(json.value(QLatin1String("duration")));
    info.uploader =
        textOf(firstPresent(json, {QLatin1String("uploader"), QLatin1String("channel"), QLatin1String("uploader_id")}))
            .value_or(QString());
    info.webpageURL = textOf(json.value(QLatin1String("webpage_url"))).value_or(fallbackURL);
    info.extractor =
        textOf(firstPresent(json, {QLatin1String("extractor_key"), QLatin1String("extractor")})).value_or(QString());

    const QJsonValue thumbnail = json.value(QLatin1String("thumbnail"));
    info.thumbnail = thumbnail.isString() ? urlOf(thumbnail) : lastThumbnailOf(json);

    if (textOf(json.value(QLatin1String("_type"))) == QLatin1String("playlist") ||
        json.contains(QLatin1String("entries"))) {
        info.isPlaylist = true;
        info.playlistTitle = info.title;
        const auto objects = objectsOf(json.value(QLatin1String("entries")));
        if (objects && !objects->isEmpty()) {
            info.entries.reserve(objects->size());
            for (qsizetype i = 0; i < objects->size(); ++i)
                info.entries.append(entryOf(objects->at(i), int(i + 1)));
            const QJsonObject &first = objects->first();
            if (!info.thumbnail)
                info.thumbnail = lastThumbnailOf(first);
            if (info.uploader.isEmpty()) {
                info.uploader = textOf(first.value(QLatin1String("uploader")))
                                    .value_or(textOf(first.value(QLatin1String("channel"))).value_or(QString()));
            }
        }
    }

    if (const auto formats = objectsOf(json.value(QLatin1String("formats")))) {
        info.formats.reserve(formats->size());
        for (const QJsonObject &object : *formats)
            info.formats.append(formatOf(object));
    }
    info.subtitleLangs = sortedKeys(json.value(QLatin1String("subtitles")));
    const QStringList captions = sortedKeys(json.value(QLatin1String("automatic_captions")));
    // Machine translations ("de-en") would swamp the list; the original track ("en-orig") stays.
    std::copy_if(captions.cbegin(), captions.cend(), std::back_inserter(info.autoCaptionLangs), [](const QString &key) {
        return !key.contains(QLatin1Char('-')) || key.endsWith(QLatin1String("-orig"));
    });
    return info;
}

Selection selection(Preset preset, bool compatible, const std::optional<QString> &videoID,
                    const std::optional<QString> &audioID)
{
    const auto best = QStringLiteral("bv*+ba/b");
    const std::optional<QString> sort =
        compatible ? std::optional<QString>(QStringLiteral("res,vcodec:h264,acodec:aac")) : std::nullopt;
    switch (preset) {
    case Preset::Best: return {best, sort, false};
    case Preset::Uhd:
    case Preset::Hd1080:
    case Preset::Hd720: {
        const QString height = QString::number(heightLimit(preset));
        return {QStringLiteral("bv*[height<=%1]+ba/b[height<=%1]/bv*+ba/b").arg(height), sort, false};
    }
    case Preset::Audio: return {QStringLiteral("ba/b"), std::nullopt, true};
    case Preset::Custom: break;
    }

    const auto chosen = [](const std::optional<QString> &id) {
        return id && *id != QLatin1String("auto") ? id : std::nullopt;
    };
    const auto video = chosen(videoID), audio = chosen(audioID);
    const bool withAudio = audio && *audio != QLatin1String("none");
    if (video)
        return {withAudio ? *video + QLatin1Char('+') + *audio : *video, std::nullopt, false};
    if (withAudio)
        return {*audio, std::nullopt, true};
    return {best, std::nullopt, false};
}

QCoro::Task<Discovery> discover(QString url, NetworkOptions net, CancelToken cancel, std::chrono::milliseconds timeout)
{
    if (!validWebURL(url))
        co_return InfoError{
            QStringLiteral("That doesn\u2019t look like a valid web address. Enter a full http(s) URL.")};
    const QString tool = AppPaths::sub(QStringLiteral("Tools")) + QStringLiteral("/yt-dlp");
    const QFileInfo toolInfo(tool);
    if (!toolInfo.isFile() || !toolInfo.isExecutable())
        co_return InfoError{QStringLiteral("yt-dlp isn\u2019t installed yet.")};

    // The link goes to yt-dlp and into the log exactly as given; the check above only vets it.
    const QStringList arguments = YTDLPManager::infoArguments(url, net);
    const RunResult result = co_await ProcessRunner::run(tool, arguments, timeout, cancel);
    LogManager::appLog(QStringLiteral("info ") + url + QStringLiteral(" -> exit ") + QString::number(result.status));
    if (result.timedOut)
        co_return InfoError{
            QStringLiteral("Timed out while contacting the site. Check your connection and try again.")};

    if (result.status == 0) {
        // A long playlist's answer runs to megabytes, and reading it takes longer than a frame.
        QFuture<std::optional<MediaInfo>> parsing = QtConcurrent::run(parseAnswer, result.stdoutText, url);
        std::optional<MediaInfo> media = co_await parsing;
        if (media)
            co_return std::move(*media);
    }
    const QString text = ErrorInterpreter::failureText(result.stderrText);
    LogManager::appLog(QStringLiteral("info error: ") + text);
    co_return InfoError{ErrorInterpreter::explain(text, result.status)};
}

} // namespace FormatManager
