#pragma once

#include "DownloadSettings.h"
#include "PlaylistEntryModel.h"

#include <QObject>
#include <QVariantList>

class AppState;

// The Download screen's form for fetched media: what it is, the preset or exact formats, the
// playlist entries, the extras and the enqueue button. Choices go to the coordinator (preset,
// formats, entries) or to the settings (everything else); the form keeps none of its own.
class DownloadFormModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(DownloadSettings *settings READ settings CONSTANT)
    Q_PROPERTY(PlaylistEntryModel *entries READ entries CONSTANT)
    Q_PROPERTY(QString title READ title NOTIFY mediaChanged)
    Q_PROPERTY(QString uploader READ uploader NOTIFY mediaChanged)
    Q_PROPERTY(QString thumbnail READ thumbnail NOTIFY mediaChanged)
    Q_PROPERTY(QString extractor READ extractor NOTIFY mediaChanged)
    Q_PROPERTY(bool isPlaylist READ isPlaylist NOTIFY mediaChanged)
    // "Playlist · N items" for a playlist, else the duration.
    Q_PROPERTY(QString lengthLine READ lengthLine NOTIFY mediaChanged)
    // "Up to …p · … formats"; empty for a playlist or without heights.
    Q_PROPERTY(QString formatsLine READ formatsLine NOTIFY mediaChanged)
    Q_PROPERTY(QVariantList presets READ presets CONSTANT)
    Q_PROPERTY(int presetIndex READ presetIndex NOTIFY presetChanged)
    Q_PROPERTY(bool audioOnly READ audioOnly NOTIFY presetChanged)
    Q_PROPERTY(bool advanced READ advanced NOTIFY presetChanged)
    Q_PROPERTY(QString presetHint READ presetHint NOTIFY presetChanged)
    Q_PROPERTY(QVariantList videoOptions READ videoOptions NOTIFY mediaChanged)
    Q_PROPERTY(QVariantList audioOptions READ audioOptions NOTIFY mediaChanged)
    Q_PROPERTY(int videoIndex READ videoIndex NOTIFY formatChoiceChanged)
    Q_PROPERTY(int audioIndex READ audioIndex NOTIFY formatChoiceChanged)
    Q_PROPERTY(bool subtitleOptionsShown READ subtitleOptionsShown NOTIFY subtitlesChanged)
    Q_PROPERTY(bool embedSubsShown READ embedSubsShown NOTIFY subtitlesChanged)
    Q_PROPERTY(bool subtitleNoteShown READ subtitleNoteShown NOTIFY subtitlesChanged)
    Q_PROPERTY(QString subtitleNote READ subtitleNote NOTIFY mediaChanged)
    Q_PROPERTY(QString selectionText READ selectionText NOTIFY selectionChanged)
    Q_PROPERTY(QString enqueueText READ enqueueText NOTIFY selectionChanged)
    Q_PROPERTY(QString qualityTitle MEMBER m_qualityTitle CONSTANT)
    Q_PROPERTY(QString audioFormatLabel MEMBER m_audioFormatLabel CONSTANT)
    Q_PROPERTY(QString containerLabel MEMBER m_containerLabel CONSTANT)
    Q_PROPERTY(QString videoLabel MEMBER m_videoLabel CONSTANT)
    Q_PROPERTY(QString audioLabel MEMBER m_audioLabel CONSTANT)
    Q_PROPERTY(QString advancedNote MEMBER m_advancedNote CONSTANT)
    Q_PROPERTY(QString playlistTitle MEMBER m_playlistTitle CONSTANT)
    Q_PROPERTY(QString selectAllText MEMBER m_selectAllText CONSTANT)
    Q_PROPERTY(QString selectNoneText MEMBER m_selectNoneText CONSTANT)
    Q_PROPERTY(QString extrasTitle MEMBER m_extrasTitle CONSTANT)
    Q_PROPERTY(QString embedThumbnailText MEMBER m_embedThumbnailText CONSTANT)
    Q_PROPERTY(QString embedMetadataText MEMBER m_embedMetadataText CONSTANT)
    Q_PROPERTY(QString subtitlesText MEMBER m_subtitlesText CONSTANT)
    Q_PROPERTY(QString languagesPrompt MEMBER m_languagesPrompt CONSTANT)
    Q_PROPERTY(QString autoSubsText MEMBER m_autoSubsText CONSTANT)
    Q_PROPERTY(QString embedSubsText MEMBER m_embedSubsText CONSTANT)
    Q_PROPERTY(QString changeFolderText MEMBER m_changeFolderText CONSTANT)

public:
    explicit DownloadFormModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] DownloadSettings *settings() { return &m_settings; }
    [[nodiscard]] PlaylistEntryModel *entries() { return &m_entries; }

    // The form is on screen. Only then does a picked preset become the default one.
    void setShown(bool shown) { m_shown = shown; }

    [[nodiscard]] QString title() const;
    [[nodiscard]] QString uploader() const;
    // An http or https link for the shared thumbnail provider; empty leaves the placeholder.
    [[nodiscard]] QString thumbnail() const;
    [[nodiscard]] QString extractor() const;
    [[nodiscard]] bool isPlaylist() const;
    [[nodiscard]] QString lengthLine() const;
    [[nodiscard]] QString formatsLine() const;

    // {value, text} per preset in picker order; the value is the row.
    [[nodiscard]] QVariantList presets() const;
    [[nodiscard]] int presetIndex() const;
    [[nodiscard]] bool audioOnly() const;
    [[nodiscard]] bool advanced() const;
    // The line beside the container picker, for the video presets.
    [[nodiscard]] QString presetHint() const;
    Q_INVOKABLE void choosePreset(int index);

    // The exact-format pickers' rows, {value, text}: "auto" first, for audio also "none".
    [[nodiscard]] QVariantList videoOptions() const { return m_videoOptions; }
    [[nodiscard]] QVariantList audioOptions() const { return m_audioOptions; }
    // The row the coordinator's choice names; -1 for a choice the media does not offer.
    [[nodiscard]] int videoIndex() const;
    [[nodiscard]] int audioIndex() const;
    Q_INVOKABLE void chooseVideo(int index);
    Q_INVOKABLE void chooseAudio(int index);

    // Languages and captions show only while subtitles are on; embedding also needs a video, and
    // the note media to speak of.
    [[nodiscard]] bool subtitleOptionsShown() const;
    [[nodiscard]] bool embedSubsShown() const;
    [[nodiscard]] bool subtitleNoteShown() const;
    [[nodiscard]] QString subtitleNote() const;

    // "N of M selected".
    [[nodiscard]] QString selectionText() const;
    // "Download N Items" for a playlist, else "Add to Queue".
    [[nodiscard]] QString enqueueText() const;
    // Never refused here: the coordinator says why it queues nothing.
    Q_INVOKABLE void enqueue();

Q_SIGNALS:
    void mediaChanged();
    void presetChanged();
    void formatChoiceChanged();
    void subtitlesChanged();
    void selectionChanged();

private:
    void mediaArrived();
    void presetPicked();

    AppState &m_state;
    DownloadSettings m_settings;
    PlaylistEntryModel m_entries;
    bool m_shown = false;
    QVariantList m_videoOptions;
    QVariantList m_audioOptions;

    const QString m_qualityTitle = tr("Quality");
    const QString m_audioFormatLabel = tr("Audio format");
    const QString m_containerLabel = tr("Container");
    const QString m_videoLabel = tr("Video");
    const QString m_audioLabel = tr("Audio");
    const QString m_advancedNote = tr("Pick exact format IDs. If the video format already includes audio, choose "
                                      "\u201cNo audio\u201d to keep it as-is.");
    const QString m_playlistTitle = tr("Playlist items");
    const QString m_selectAllText = tr("Select All");
    const QString m_selectNoneText = tr("None");
    const QString m_extrasTitle = tr("Extras");
    const QString m_embedThumbnailText = tr("Embed thumbnail");
    const QString m_embedMetadataText = tr("Embed metadata");
    const QString m_subtitlesText = tr("Subtitles");
    const QString m_languagesPrompt = tr("Languages (e.g. en.*,de)");
    const QString m_autoSubsText = tr("Include auto-generated");
    const QString m_embedSubsText = tr("Embed in video");
    const QString m_changeFolderText = tr("Change\u2026");
};
