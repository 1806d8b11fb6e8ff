#include "DownloadFormModel.h"

#include "MediaSummary.h"
#include "ThumbnailLink.h"
#include "coordinator/AppState.h"
#include "core/TextHelpers.h"

#include <QVariantMap>

namespace {

QVariantMap option(const QString &value, const QString &text)
{
    return {{QStringLiteral("value"), value}, {QStringLiteral("text"), text}};
}

// The first rows of a picker, then one per format, titled with its label.
QVariantList formatOptions(QVariantList rows, const QList<FormatInfo> &formats)
{
    for (const FormatInfo &format : formats)
        rows.append(option(format.id, format.label()));
    return rows;
}

int indexOf(const QVariantList &options, const QString &value)
{
    for (qsizetype i = 0; i < options.size(); ++i) {
        if (options[i].toMap().value(QStringLiteral("value")).toString() == value)
            return int(i);
    }
    return -1;
}

QString valueAt(const QVariantList &options, int index)
{
    return index >= 0 && index < options.size() ? options[index].toMap().value(QStringLiteral("value")).toString()
                                                : QString();
}

} // namespace

DownloadFormModel::DownloadFormModel(AppState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_entries(state)
{
    connect(&m_state, &AppState::infoChanged, this, &DownloadFormModel::mediaArrived);
    connect(&m_state, &AppState::presetChanged, this, &DownloadFormModel::presetPicked);
    connect(&m_state, &AppState::videoFormatIDChanged, this, &DownloadFormModel::formatChoiceChanged);
    connect(&m_state, &AppState::audioFormatIDChanged, this, &DownloadFormModel::formatChoiceChanged);
    connect(&m_state, &AppState::selectedItemsChanged, this, &DownloadFormModel::selectionChanged);
    connect(&m_state, &AppState::infoChanged, this, &DownloadFormModel::selectionChanged);
    connect(&m_state, &AppState::infoChanged, this, &DownloadFormModel::subtitlesChanged);
    connect(m_settings.writeSubs(), &Setting::valueChanged, this, &DownloadFormModel::subtitlesChanged);
    mediaArrived();
}

QString DownloadFormModel::title() const
{
    return m_state.info() ? m_state.info()->title : QString();
}

QString DownloadFormModel::uploader() const
{
    return m_state.info() ? m_state.info()->uploader : QString();
}

QString DownloadFormModel::thumbnail() const
{
    const auto &info = m_state.info();
    if (!info || !info->thumbnail)
        return {};
    return loadableThumbnail(info->thumbnail->toString());
}

QString DownloadFormModel::extractor() const
{
    return m_state.info() ? m_state.info()->extractor : QString();
}

bool DownloadFormModel::isPlaylist() const
{
    return m_state.info() && m_state.info()->isPlaylist;
}

QString DownloadFormModel::lengthLine() const
{
    const auto &info = m_state.info();
    if (!info)
        return {};
    return info->isPlaylist ? MediaSummary::playlistLine(*info) : formatDuration(info->duration);
}

QString DownloadFormModel::formatsLine() const
{
    const auto &info = m_state.info();
    return info && !info->isPlaylist ? MediaSummary::formatsLine(*info) : QString();
}

QVariantList DownloadFormModel::presets() const
{
    QVariantList rows;
    for (const Preset preset : Presets::all()) {
        const QString text = preset == Preset::Custom ? tr("Advanced Formats") : Presets::rawValue(preset);
        rows.append(QVariantMap{{QStringLiteral("value"), int(rows.size())}, {QStringLiteral("text"), text}});
    }
    return rows;
}

int DownloadFormModel::presetIndex() const
{
    return int(Presets::all().indexOf(m_state.preset()));
}

bool DownloadFormModel::audioOnly() const
{
    return m_state.preset() == Preset::Audio;
}

bool DownloadFormModel::advanced() const
{
    return m_state.preset() == Preset::Custom;
}

QString DownloadFormModel::presetHint() const
{
    return MediaSummary::presetHint(m_state.info().value_or(MediaInfo()), m_state.preset());
}

void DownloadFormModel::choosePreset(int index)
{
    if (index >= 0 && index < Presets::all().size())
        m_state.setPreset(Presets::all()[index]);
}

int DownloadFormModel::videoIndex() const
{
    return indexOf(m_videoOptions, m_state.videoFormatID());
}

int DownloadFormModel::audioIndex() const
{
    return indexOf(m_audioOptions, m_state.audioFormatID());
}

void DownloadFormModel::chooseVideo(int index)
{
    if (const QString id = valueAt(m_videoOptions, index); !id.isEmpty())
        m_state.setVideoFormatID(id);
}

void DownloadFormModel::chooseAudio(int index)
{
    if (const QString id = valueAt(m_audioOptions, index); !id.isEmpty())
        m_state.setAudioFormatID(id);
}

bool DownloadFormModel::subtitleOptionsShown() const
{
    return m_settings.subtitlesOn();
}

bool DownloadFormModel::embedSubsShown() const
{
    return subtitleOptionsShown() && !audioOnly();
}

bool DownloadFormModel::subtitleNoteShown() const
{
    return subtitleOptionsShown() && m_state.info().has_value();
}

QString DownloadFormModel::subtitleNote() const
{
    return m_state.info() ? MediaSummary::subtitleNote(*m_state.info()) : QString();
}

QString DownloadFormModel::selectionText() const
{
    const qsizetype total = m_state.info() ? m_state.info()->entries.size() : 0;
    return tr("%1 of %2 selected").arg(m_state.selectedItems().size()).arg(total);
}

QString DownloadFormModel::enqueueText() const
{
    // The plural stays for one item, as everywhere the count is shown on this button.
    return isPlaylist() ? tr("Download %1 Items").arg(m_state.selectedItems().size()) : tr("Add to Queue");
}

void DownloadFormModel::enqueue()
{
    m_state.enqueueCurrent();
}

void DownloadFormModel::mediaArrived()
{
    const MediaInfo info = m_state.info().value_or(MediaInfo());
    const QString automatic = tr("Automatic (best)");
    m_videoOptions = formatOptions({option(QStringLiteral("auto"), automatic)}, info.videoFormats());
    m_audioOptions =
        formatOptions({option(QStringLiteral("auto"), automatic), option(QStringLiteral("none"), tr("No audio"))},
                      info.audioFormats());
    Q_EMIT mediaChanged();
    Q_EMIT formatChoiceChanged();
    // The hint depends on the media's heights.
    Q_EMIT presetChanged();
}

void DownloadFormModel::presetPicked()
{
    // "Advanced" is a choice for this link only; the next launch never opens in it.
    if (m_shown && m_state.preset() != Preset::Custom)
        m_settings.defaultPreset()->setValue(Presets::rawValue(m_state.preset()));
    Q_EMIT presetChanged();
    Q_EMIT subtitlesChanged();
}
