#include "MediaSummary.h"

#include <QCoreApplication>

namespace {

// The highest height a capped preset allows; none for the others.
std::optional<qint64> heightCap(Preset preset)
{
    switch (preset) {
    case Preset::Uhd: return 2160;
    case Preset::Hd1080: return 1080;
    case Preset::Hd720: return 720;
    default: return std::nullopt;
    }
}

QString tr(const char *text)
{
    return QCoreApplication::translate("MediaSummary", text);
}

} // namespace

namespace MediaSummary {

QString formatsLine(const MediaInfo &info)
{
    const QList<qint64> heights = info.heights();
    if (heights.isEmpty())
        return {};
    return tr("Up to %1p \u00b7 %2 formats").arg(heights.constFirst()).arg(info.formats.size());
}

QString playlistLine(const MediaInfo &info)
{
    return tr("Playlist \u00b7 %1 items").arg(info.entries.size());
}

QString presetHint(const MediaInfo &info, Preset preset)
{
    if (const auto cap = heightCap(preset)) {
        const QList<qint64> heights = info.heights();
        if (!heights.isEmpty() && heights.constFirst() < *cap)
            return tr("Highest available is %1p \u2014 that\u2019s what you\u2019ll get.").arg(heights.constFirst());
    }
    if (preset == Preset::Best)
        return tr("Highest quality video and audio, merged by FFmpeg.");
    return tr("Best quality up to %1, merged by FFmpeg.").arg(Presets::rawValue(preset));
}

QString subtitleNote(const MediaInfo &info)
{
    constexpr qsizetype shown = 12;
    if (info.subtitleLangs.isEmpty()) {
        if (info.autoCaptionLangs.isEmpty())
            return tr("No manual subtitles listed.");
        return tr(
            "No manual subtitles listed \u2014 auto captions available (enable \u201cInclude auto-generated\u201d).");
    }
    QString note = tr("Available: ") + info.subtitleLangs.first(std::min(shown, info.subtitleLangs.size())).join(u", ");
    if (info.subtitleLangs.size() > shown)
        note += u'\u2026';
    return note;
}

} // namespace MediaSummary
