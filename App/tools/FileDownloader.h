#pragma once

#include "core/CancelToken.h"
#include "tools/ToolError.h"

#include <QCoroTask>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

class QNetworkAccessManager;

// Fetches one URL into one file. The file at the destination is replaced only when the whole
// body arrived with a success status; after any failure an older file there is left as it was.
// Redirects are followed (ten at most), each target through the tool mirror when one is set.
// One download per object; the object must outlive the task `download` returns.
class FileDownloader final
{
public:
    explicit FileDownloader(QNetworkAccessManager *network);

    // The largest body accepted: a mirror or redirect target that streams without end must not
    // fill the disk. The default is what an unpacked tool may weigh; tests lower it.
    static constexpr qint64 defaultSizeLimit = 1024LL * 1024 * 1024;

    // A transfer that receives nothing for this long fails (the clock restarts with every byte).
    void setIdleTimeout(std::chrono::milliseconds timeout) { m_idleTimeout = timeout; }
    void setSizeLimit(qint64 bytes) { m_sizeLimit = bytes; }

    // Resolves to nothing when the file is in place, else to the failure: an HTTP status outside
    // 200 to 299 ("Download", the status, "HTTP 404"), a transfer failure, timeout or cancellation
    // ("Network"), a body past the size limit ("Download", code 0, "Download stopped: the file is
    // larger than 1 GiB."), or a file that could not be written ("File"). `onProgress` gets the fraction
    // received, only while the total size is known.
    QCoro::Task<std::optional<ToolError>>
    download(QUrl url, QString destination, std::function<void(double)> onProgress, CancelToken cancel = CancelToken());

private:
    QNetworkAccessManager *m_network;
    std::chrono::milliseconds m_idleTimeout{60000};
    qint64 m_sizeLimit = defaultSizeLimit;
};
