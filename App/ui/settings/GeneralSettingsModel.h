#pragma once

#include "SettingStepper.h"

#include <QObject>
#include <QUrl>

// The General tab: where and how downloads are saved. The toggles and the template field bind
// Setting objects of their own; this model holds the captions, the stepper and the two actions.
class GeneralSettingsModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString folderLabel MEMBER m_folderLabel CONSTANT)
    Q_PROPERTY(QString chooseText MEMBER m_chooseText CONSTANT)
    Q_PROPERTY(QString templateLabel MEMBER m_templateLabel CONSTANT)
    Q_PROPERTY(QString variablesText MEMBER m_variablesText CONSTANT)
    Q_PROPERTY(QString resetText MEMBER m_resetText CONSTANT)
    Q_PROPERTY(QString numberingText MEMBER m_numberingText CONSTANT)
    Q_PROPERTY(QString notificationsText MEMBER m_notificationsText CONSTANT)
    Q_PROPERTY(QString clipboardText MEMBER m_clipboardText CONSTANT)
    Q_PROPERTY(SettingStepper *maxConcurrent READ maxConcurrent CONSTANT)

public:
    explicit GeneralSettingsModel(QObject *parent = nullptr);

    [[nodiscard]] SettingStepper *maxConcurrent() { return &m_maxConcurrent; }

    // The folder chooser's answer; see storeDownloadFolder.
    Q_INVOKABLE void chooseFolder(const QUrl &folder);
    // Stores the default template, also when it is the one in use.
    Q_INVOKABLE void resetTemplate();

private:
    const QString m_folderLabel = tr("Download folder");
    const QString m_chooseText = tr("Choose\u2026");
    const QString m_templateLabel = tr("Filename template");
    const QString m_variablesText = tr("Variables: %(title)s  %(uploader)s  %(upload_date)s  %(id)s  "
                                       "%(playlist_index)s  %(resolution)s  %(ext)s");
    const QString m_resetText = tr("Reset to default");
    const QString m_numberingText = tr("Number playlist items (001 - \u2026)");
    const QString m_notificationsText = tr("Show notifications when downloads finish");
    const QString m_clipboardText = tr("Watch clipboard for links");
    SettingStepper m_maxConcurrent;
};
