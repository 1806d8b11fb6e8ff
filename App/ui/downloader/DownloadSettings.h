#pragma once

#include "ui/settings/Setting.h"
#include "ui/settings/SettingPicker.h"

#include <QObject>
#include <QUrl>

// The settings the Download screen's form edits, the same keys and defaults as the settings
// window's, each written the moment its control changes. The store is the one copy: a change
// made in the settings window shows here at once, and the other way round.
class DownloadSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(SettingPicker *audioFormat READ audioFormat CONSTANT)
    Q_PROPERTY(SettingPicker *container READ container CONSTANT)
    Q_PROPERTY(Setting *embedThumbnail READ embedThumbnail CONSTANT)
    Q_PROPERTY(Setting *embedMetadata READ embedMetadata CONSTANT)
    Q_PROPERTY(Setting *writeSubs READ writeSubs CONSTANT)
    Q_PROPERTY(Setting *autoSubs READ autoSubs CONSTANT)
    Q_PROPERTY(Setting *embedSubs READ embedSubs CONSTANT)
    Q_PROPERTY(Setting *subLangs READ subLangs CONSTANT)
    Q_PROPERTY(Setting *folder READ folder CONSTANT)
    Q_PROPERTY(Setting *defaultPreset READ defaultPreset CONSTANT)

public:
    explicit DownloadSettings(QObject *parent = nullptr);

    [[nodiscard]] SettingPicker *audioFormat() { return &m_audioFormat; }
    [[nodiscard]] SettingPicker *container() { return &m_container; }
    [[nodiscard]] Setting *embedThumbnail() { return &m_embedThumbnail; }
    [[nodiscard]] Setting *embedMetadata() { return &m_embedMetadata; }
    [[nodiscard]] Setting *writeSubs() { return &m_writeSubs; }
    [[nodiscard]] Setting *autoSubs() { return &m_autoSubs; }
    [[nodiscard]] Setting *embedSubs() { return &m_embedSubs; }
    [[nodiscard]] Setting *subLangs() { return &m_subLangs; }
    // The registered Downloads folder until the user chooses one.
    [[nodiscard]] Setting *folder() { return &m_folder; }
    [[nodiscard]] Setting *defaultPreset() { return &m_defaultPreset; }
    [[nodiscard]] bool subtitlesOn() const { return m_writeSubs.value().toBool(); }

    // The folder chooser's answer; a non-local place or a cancel keeps the folder.
    Q_INVOKABLE void chooseFolder(const QUrl &folder);

private:
    SettingPicker m_audioFormat;
    SettingPicker m_container;
    Setting m_embedThumbnail;
    Setting m_embedMetadata;
    Setting m_writeSubs;
    Setting m_autoSubs;
    Setting m_embedSubs;
    Setting m_subLangs;
    Setting m_folder;
    Setting m_defaultPreset;
};
