#pragma once

#include "platform/Clipboard.h"

#include <QObject>
#include <QString>
#include <QTimer>

class AppState;
class LinkFetch;

// Where every text that may hold links enters: several links are queued at once, one link of the
// video site goes to the music search, any other link to the downloader's link field. Beside it
// the clipboard watch, which, when the user allows it, puts a newly copied link into an empty
// link field.
class LinkIntake final : public QObject
{
    Q_OBJECT

public:
    LinkIntake(AppState &state, LinkFetch &fetch);

    void receive(const QString &text);

private:
    // Looks at each clipboard change once: a link copied while the watch was off or the tools
    // were missing is never taken later.
    void checkClipboard();

    AppState &m_state;
    LinkFetch &m_fetch;
    Clipboard m_clipboard;
    // The clipboard change last looked at; what was copied before the start is never taken.
    quint64 m_pasteCount;
    // Armed by a change rather than polling, so an idle application does no work.
    QTimer m_clipTimer;
};
