#pragma once

#include "SettingPicker.h"

#include <QObject>

class LibraryStore;
class PlayerManager;

// The Music tab: non-stop playback, the format and embedding of song downloads, and clearing
// the listening history. The embedding flags are plain keys the view binds itself.
class MusicSettingsModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString playbackHeader MEMBER m_playbackHeader CONSTANT)
    Q_PROPERTY(QString nonStopText MEMBER m_nonStopText CONSTANT)
    Q_PROPERTY(QString nonStopCaption MEMBER m_nonStopCaption CONSTANT)
    Q_PROPERTY(QString downloadsHeader MEMBER m_downloadsHeader CONSTANT)
    Q_PROPERTY(QString formatLabel MEMBER m_formatLabel CONSTANT)
    Q_PROPERTY(QString embedArtworkText MEMBER m_embedArtworkText CONSTANT)
    Q_PROPERTY(QString embedMetadataText MEMBER m_embedMetadataText CONSTANT)
    Q_PROPERTY(QString downloadsCaption MEMBER m_downloadsCaption CONSTANT)
    Q_PROPERTY(QString privacyHeader MEMBER m_privacyHeader CONSTANT)
    Q_PROPERTY(QString privacyCaption MEMBER m_privacyCaption CONSTANT)
    Q_PROPERTY(QString clearHistoryText MEMBER m_clearHistoryText CONSTANT)
    Q_PROPERTY(SettingPicker *audioFormat READ audioFormat CONSTANT)
    // The player's own flag, so a change from the menu command shows here too.
    Q_PROPERTY(bool nonStop READ nonStop WRITE setNonStop NOTIFY nonStopChanged)

public:
    MusicSettingsModel(PlayerManager &player, LibraryStore &library, QObject *parent = nullptr);

    [[nodiscard]] SettingPicker *audioFormat() { return &m_audioFormat; }
    [[nodiscard]] bool nonStop() const;
    void setNonStop(bool nonStop);
    // At once, without asking: likes, playlists and the catalogue stay.
    Q_INVOKABLE void clearHistory();

Q_SIGNALS:
    void nonStopChanged();

private:
    const QString m_playbackHeader = tr("Playback");
    const QString m_nonStopText = tr("Non-Stop Playback (never run out of music)");
    const QString m_nonStopCaption = tr("When the queue is about to end, Morvane adds songs from YouTube Mixes and "
                                        "your taste profile, skipping recent repeats.");
    const QString m_downloadsHeader = tr("Song downloads");
    const QString m_formatLabel = tr("Format");
    const QString m_embedArtworkText = tr("Embed artwork");
    const QString m_embedMetadataText = tr("Embed metadata");
    const QString m_downloadsCaption =
        tr("Songs are saved to \u201CMorvane Music\u201D inside your download folder (General tab).");
    const QString m_privacyHeader = tr("Privacy");
    const QString m_privacyCaption =
        tr("Recommendations are computed on this computer from your own listening history. "
           "No account or cloud service is used.");
    const QString m_clearHistoryText = tr("Clear Listening History");
    PlayerManager &m_player;
    LibraryStore &m_library;
    SettingPicker m_audioFormat;
};
