#pragma once

#include "DownloadFormModel.h"

#include <QObject>
#include <QTimer>

class AppState;

// The download screen's link bar: fetches the link field's text shortly after the last edit while
// the screen is shown, fetches at once on Return, pastes and clears; under it, the form for the
// fetched media.
class DownloadScreenModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY shownChanged)
    Q_PROPERTY(QString urlText READ urlText WRITE setUrlText NOTIFY urlTextChanged)
    Q_PROPERTY(bool canDownload READ canDownload NOTIFY canDownloadChanged)
    Q_PROPERTY(bool hasMedia READ hasMedia NOTIFY stateKindChanged)
    Q_PROPERTY(QString stateKind READ stateKind NOTIFY stateKindChanged)
    Q_PROPERTY(QString failure READ failure NOTIFY stateKindChanged)
    Q_PROPERTY(DownloadFormModel *form READ form CONSTANT)
    Q_PROPERTY(QString fieldPrompt MEMBER m_fieldPrompt CONSTANT)
    Q_PROPERTY(QString clearHelp MEMBER m_clearHelp CONSTANT)
    Q_PROPERTY(QString pasteText MEMBER m_pasteText CONSTANT)
    Q_PROPERTY(QString downloadText MEMBER m_downloadText CONSTANT)
    Q_PROPERTY(QString emptyTitle MEMBER m_emptyTitle CONSTANT)
    Q_PROPERTY(QString pasteHelp MEMBER m_pasteHelp CONSTANT)
    Q_PROPERTY(QString dropHint MEMBER m_dropHint CONSTANT)
    Q_PROPERTY(QString loadingText MEMBER m_loadingText CONSTANT)

public:
    // How long the field must rest before its text is fetched.
    static constexpr int defaultDelayMs = 450;

    explicit DownloadScreenModel(AppState &state, int delayMs = defaultDelayMs, QObject *parent = nullptr);

    // The screen is the current downloader screen of a visible window. Showing fetches the field
    // again after the delay; hiding drops a pending fetch.
    [[nodiscard]] bool shown() const { return m_shown; }
    void setShown(bool shown);
    // The link field's text, the coordinator's.
    [[nodiscard]] QString urlText() const;
    void setUrlText(const QString &text);
    [[nodiscard]] bool canDownload() const;
    // Whether the coordinator holds fetched media; a loaded state without it shows nothing.
    [[nodiscard]] bool hasMedia() const;
    // "placeholder", "loading", "failed" or "loaded".
    [[nodiscard]] QString stateKind() const;
    [[nodiscard]] QString failure() const;
    [[nodiscard]] DownloadFormModel *form() { return &m_form; }

    // Return in the field: fetch now. A pending delayed fetch still runs; the coordinator
    // supersedes the first.
    Q_INVOKABLE void fetchNow();
    // Hands the clipboard's text to the coordinator as read; without text nothing happens.
    Q_INVOKABLE void paste();
    // Empties the field and drops the fetched media at once; the delayed fetch of the empty text
    // follows.
    Q_INVOKABLE void clear();
    // The Download button and Ctrl+Return, which does nothing while the button is disabled.
    Q_INVOKABLE void download();

Q_SIGNALS:
    void shownChanged();
    void urlTextChanged();
    void canDownloadChanged();
    void stateKindChanged();
    // Each fetch this screen asks the coordinator for.
    void fetchRequested();

private:
    void fetch();
    void restartDelay();
    void fetchStateMoved();

    AppState &m_state;
    DownloadFormModel m_form;
    QTimer m_delay;
    bool m_shown = false;
    const QString m_fieldPrompt = tr("Paste a video or playlist link");
    const QString m_clearHelp = tr("Clear");
    const QString m_pasteText = tr("Paste");
    const QString m_downloadText = tr("Download");
    const QString m_emptyTitle = tr("Paste a link to get started");
    const QString m_pasteHelp = tr("Paste link from clipboard (Ctrl+Shift+V)");
    const QString m_dropHint = tr("Drop links anywhere in this window, or press Ctrl+Shift+V to paste.");
    const QString m_loadingText = tr("Discovering formats with yt-dlp\u2026");
};
