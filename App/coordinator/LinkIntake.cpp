#include "LinkIntake.h"

#include "AppState.h"
#include "LinkFetch.h"
#include "core/SettingsStore.h"
#include "core/TextHelpers.h"
#include "music/YTMusic.h"

#include <chrono>

using namespace std::chrono_literals;

LinkIntake::LinkIntake(AppState &state, LinkFetch &fetch)
    : QObject(&state)
    , m_state(state)
    , m_fetch(fetch)
    , m_pasteCount(m_clipboard.changeCount())
    , m_clipTimer(this)
{
    m_clipTimer.setObjectName(QStringLiteral("clipboardCheck"));
    m_clipTimer.setSingleShot(true);
    m_clipTimer.setInterval(1200ms);
    connect(&m_clipTimer, &QTimer::timeout, this, &LinkIntake::checkClipboard);
    // A burst of copies is looked at once, at most 1.2 s after the first.
    connect(&m_clipboard, &Clipboard::changed, this, [this] {
        if (!m_clipTimer.isActive())
            m_clipTimer.start();
    });
}

void LinkIntake::receive(const QString &text)
{
    const QList<QUrl> links = extractURLs(text);
    if (links.size() >= 2) {
        QStringList texts;
        for (const QUrl &link : links)
            texts.append(link.toString(QUrl::FullyEncoded));
        // A link written twice is one download, not two children racing for one file.
        texts.removeDuplicates();
        m_fetch.quickEnqueue(texts);
        m_state.setSelection(SidebarItem::Queue);
        m_state.setRoute({Route::Kind::Downloads, {}});
        return;
    }
    const std::optional<QUrl> candidate = links.isEmpty() ? validWebURL(text) : links.first();
    if (!candidate) {
        m_state.setToast(QStringLiteral("No valid link found."));
        return;
    }
    // Encoded as received: a decoded "%20" would be a space, and no valid link any more.
    const QString link = candidate->toString(QUrl::FullyEncoded);
    if (YTMusic::isYouTubeURL(link)) {
        m_state.setRoute({Route::Kind::Search, {}});
        m_state.search().submit(link, &m_state.player());
        return;
    }
    m_state.setSelection(SidebarItem::Download);
    m_state.setRoute({Route::Kind::Downloads, {}});
    m_state.setUrlText(link);
}

void LinkIntake::checkClipboard()
{
    const quint64 count = m_clipboard.changeCount();
    if (count == m_pasteCount)
        return;
    m_pasteCount = count;
    if (!SettingsStore::boolean(QStringLiteral("clipboardMonitor")) || !m_state.setupDone())
        return;
    const std::optional<QUrl> url = validWebURL(m_clipboard.text());
    if (url && m_state.urlText().isEmpty())
        m_state.setUrlText(url->toString(QUrl::FullyEncoded));
}
