#pragma once

#include "core/CancelToken.h"
#include "core/NetworkOptions.h"

#include <QCoroTask>
#include <QObject>
#include <QString>
#include <QStringList>

class AppState;

// The downloader's link field turned into queued downloads: asks yt-dlp what the link holds for
// the download screen, and queues either what was fetched, as chosen on that screen, or the bare
// link with the default preset. Writes its results into the coordinator's published state.
class LinkFetch final : public QObject
{
    Q_OBJECT

public:
    explicit LinkFetch(AppState &state);
    ~LinkFetch() override;

    // Starts a fetch of the link field, replacing the running one; an empty or invalid field
    // resets or fails at once, and nothing is fetched before the tools are ready.
    void fetch();
    // Forgets the fetched media and stops a running fetch.
    void reset();
    [[nodiscard]] bool canDownload() const;
    // The download button: the fetched media when the field still holds its link, else the field's
    // link at once.
    void downloadPressed();
    // Queues the fetched media with the screen's choices.
    void enqueueCurrent();
    // Queues links at once, in order, with the default preset; shows nothing.
    void quickEnqueue(const QStringList &urls);

private:
    QCoro::Task<> run(QString link, NetworkOptions net, CancelToken cancel);

    AppState &m_state;
    // Of the newest fetch; a cancelled fetch publishes nothing.
    CancelToken m_cancel;
    // The link the fetched media belongs to: the field may have been edited since.
    QString m_fetchedLink;
};
