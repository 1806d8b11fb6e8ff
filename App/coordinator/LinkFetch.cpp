#include "LinkFetch.h"

#include "AppState.h"
#include "DownloadRequests.h"
#include "core/SettingsStore.h"
#include "core/TextHelpers.h"
#include "engine/FormatManager.h"

#include <QPointer>

#include <variant>

namespace {

const QString invalidLink = QStringLiteral("That doesn\u2019t look like a valid web address.");

} // namespace

LinkFetch::LinkFetch(AppState &state)
    : QObject(&state)
    , m_state(state)
{}

LinkFetch::~LinkFetch()
{
    m_cancel.cancel();
}

void LinkFetch::fetch()
{
    m_cancel.cancel();
    const QString link = m_state.urlText().trimmed();
    if (link.isEmpty()) {
        m_state.setInfo(std::nullopt);
        m_state.setFetchState({});
        return;
    }
    if (!validWebURL(link)) {
        m_state.setInfo(std::nullopt);
        m_state.setFetchState(FetchState::failed(invalidLink));
        return;
    }
    if (!m_state.setupDone())
        return;
    m_state.setFetchState({FetchState::Kind::Loading, {}});
    m_state.setInfo(std::nullopt);
    m_cancel = CancelToken();
    run(link, SettingsStore::networkSnapshot(), m_cancel);
}

QCoro::Task<> LinkFetch::run(QString link, NetworkOptions net, CancelToken cancel)
{
    const QPointer<LinkFetch> self(this);
    const FormatManager::Discovery found = co_await FormatManager::discover(link, net, cancel);
    if (!self || cancel.isCancelled())
        co_return;
    if (const auto *error = std::get_if<InfoError>(&found)) {
        m_state.setFetchState(FetchState::failed(error->message));
        co_return;
    }
    const MediaInfo &info = std::get<MediaInfo>(found);
    QSet<int> everyEntry;
    for (const PlaylistEntry &entry : info.entries)
        everyEntry.insert(entry.id);
    m_fetchedLink = link;
    m_state.setInfo(info);
    m_state.setSelectedItems(everyEntry);
    m_state.setVideoFormatID(QStringLiteral("auto"));
    m_state.setAudioFormatID(QStringLiteral("auto"));
    m_state.setFetchState({FetchState::Kind::Loaded, {}});
}

void LinkFetch::reset()
{
    m_state.setInfo(std::nullopt);
    m_state.setFetchState({});
    m_cancel.cancel();
}

bool LinkFetch::canDownload() const
{
    return m_state.setupDone() && validWebURL(m_state.urlText()) &&
           m_state.fetchState().kind != FetchState::Kind::Loading;
}

void LinkFetch::downloadPressed()
{
    // A link edited after its fetch (the screen fetches again only after a pause in typing) must
    // not go out with the old link's title, formats and items.
    const bool fetchedThisLink = m_state.info() && m_state.fetchState().kind == FetchState::Kind::Loaded &&
                                 m_state.urlText().trimmed() == m_fetchedLink;
    if (fetchedThisLink) {
        enqueueCurrent();
        return;
    }
    const std::optional<QUrl> url = validWebURL(m_state.urlText());
    if (!url) {
        m_state.setFetchState(FetchState::failed(QStringLiteral("Enter a valid http(s) link first.")));
        return;
    }
    quickEnqueue({url->toString(QUrl::FullyEncoded)});
    m_state.setUrlText(QString());
    reset();
    m_state.setToast(QStringLiteral("Added to queue"));
}

void LinkFetch::enqueueCurrent()
{
    if (!m_state.info())
        return;
    const std::optional<DownloadOptions> options =
        DownloadRequests::fetched(m_fetchedLink, *m_state.info(), m_state.preset(), m_state.videoFormatID(),
                                  m_state.audioFormatID(), m_state.selectedItems());
    if (!options) {
        m_state.setToast(QStringLiteral("Select at least one playlist item."));
        return;
    }
    m_state.downloads().enqueue(*options);
    m_state.setToast(QStringLiteral("Added to queue"));
    m_state.setUrlText(QString());
    reset();
}

void LinkFetch::quickEnqueue(const QStringList &urls)
{
    m_state.downloads().enqueueAll(DownloadRequests::quick(urls));
}
