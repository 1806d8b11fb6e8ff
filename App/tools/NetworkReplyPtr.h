#pragma once

#include <QNetworkReply>

#include <memory>

// Owns a reply and lets it go safely: a coroutine that awaited `finished` runs its rest inside
// that signal, so the reply is cut off from its connections and deleted later, not at once.
struct NetworkReplyDeleter
{
    void operator()(QNetworkReply *reply) const
    {
        reply->disconnect();
        reply->deleteLater();
    }
};

using NetworkReplyPtr = std::unique_ptr<QNetworkReply, NetworkReplyDeleter>;
