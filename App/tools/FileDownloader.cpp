#include "FileDownloader.h"

#include "NetworkReplyPtr.h"
#include "core/ToolMirror.h"

#include <QCoroSignal>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSaveFile>

namespace {

constexpr int maxRedirects = 10;
// What a reply may hold before it stops reading from the network: a source faster than the main
// thread would otherwise pile up in memory for as long as the main thread is held up.
constexpr qint64 readBufferBytes = 1024 * 1024;

// Only a success status lets the body reach the file; a missing status (a file: URL) is no HTTP.
bool isSuccess(QNetworkReply *reply)
{
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return !status.isValid() || (status.toInt() >= 200 && status.toInt() <= 299);
}

// Where a redirect answer points; release downloads redirect to other hosts, and those go through
// the tool mirror as well, so a mirrored install never leaves the mirror. Nothing when the answer
// is no redirect; an invalid URL when it may not be followed (a step down from https to http).
std::optional<QUrl> redirectTarget(QNetworkReply *reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QVariant location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute);
    if (status < 300 || status > 399 || !location.isValid())
        return std::nullopt;
    const QUrl resolved = reply->url().resolved(location.toUrl());
    const QUrl next = ToolMirror::apply(resolved);
    const bool downgrade = reply->url().scheme() == QStringLiteral("https") && next.scheme() != QStringLiteral("https");
    if (downgrade && next == resolved)
        return QUrl();
    return next;
}

ToolError tooLarge(qint64 limit)
{
    const QString size = QLocale::c().formattedDataSize(limit, 0, QLocale::DataSizeIecFormat);
    return {QStringLiteral("Download"), 0, QStringLiteral("Download stopped: the file is larger than %1.").arg(size)};
}

} // namespace

FileDownloader::FileDownloader(QNetworkAccessManager *network)
    : m_network(network)
{}

QCoro::Task<std::optional<ToolError>>
FileDownloader::download(QUrl url, QString destination, std::function<void(double)> onProgress, CancelToken cancel)
{
    QSaveFile file(destination);
    if (!file.open(QIODevice::WriteOnly))
        co_return ToolError{QStringLiteral("File"), 0, file.errorString()};

    // Set when the body is refused on the way in; the reply is then aborted.
    std::optional<ToolError> stopped;
    qint64 written = 0;
    const qint64 limit = m_sizeLimit;
    QUrl target = url;
    NetworkReplyPtr reply;
    for (int redirects = 0;; ++redirects) {
        QNetworkRequest request(target);
        request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Morvane/1.0"));
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        request.setTransferTimeout(static_cast<int>(m_idleTimeout.count()));
        reply.reset(m_network->get(request));
        QNetworkReply *const replyPointer = reply.get();
        replyPointer->setReadBufferSize(readBufferBytes);

        QObject::connect(
            replyPointer, &QNetworkReply::readyRead, replyPointer, [replyPointer, &file, &stopped, &written, limit] {
                const QByteArray data = replyPointer->readAll();
                if (stopped || !isSuccess(replyPointer))
                    return; // an error page or a redirect is not the file
                // An announced size past the limit is refused at its first bytes, not at the limit.
                const qint64 announced = replyPointer->header(QNetworkRequest::ContentLengthHeader).toLongLong();
                if (written + data.size() > limit || announced > limit)
                    stopped = tooLarge(limit);
                else if (file.write(data) != data.size())
                    stopped = ToolError{QStringLiteral("File"), 0, file.errorString()};
                written += data.size();
                // Aborting from inside readyRead would finish the reply under our feet.
                if (stopped)
                    QMetaObject::invokeMethod(replyPointer, &QNetworkReply::abort, Qt::QueuedConnection);
            });
        QObject::connect(replyPointer, &QNetworkReply::downloadProgress, replyPointer,
                         [replyPointer, &onProgress](qint64 received, qint64 total) {
                             // At the end Qt reports an unknown total as the bytes received; that
                             // is no known size.
                             const bool sized = replyPointer->header(QNetworkRequest::ContentLengthHeader).isValid();
                             if (total >= 1 && sized && onProgress && isSuccess(replyPointer))
                                 onProgress(static_cast<double>(received) / static_cast<double>(total));
                         });
        const QPointer<QNetworkReply> guard(replyPointer);
        const int subscription = cancel.subscribe([guard] {
            if (guard)
                QMetaObject::invokeMethod(guard.data(), &QNetworkReply::abort, Qt::QueuedConnection);
        });
        if (!replyPointer->isFinished())
            co_await qCoro(replyPointer, &QNetworkReply::finished);
        cancel.unsubscribe(subscription);

        const std::optional<QUrl> next = redirectTarget(replyPointer);
        if (!next)
            break;
        if (!next->isValid()) {
            co_return ToolError{QStringLiteral("Network"), QNetworkReply::InsecureRedirectError,
                                QStringLiteral("Refused a redirect from https to http.")};
        }
        if (redirects == maxRedirects) {
            co_return ToolError{QStringLiteral("Network"), QNetworkReply::TooManyRedirectsError,
                                QStringLiteral("Too many redirects.")};
        }
        target = *next;
    }
    QNetworkReply *const replyPointer = reply.get();

    // A 404 is also an error to Qt; the status is the more useful of the two.
    const QVariant status = replyPointer->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!isSuccess(replyPointer)) {
        const int code = status.toInt();
        co_return ToolError{QStringLiteral("Download"), code, QStringLiteral("HTTP %1").arg(code)};
    }
    if (stopped)
        co_return *stopped;
    if (replyPointer->error() != QNetworkReply::NoError)
        co_return ToolError{QStringLiteral("Network"), static_cast<int>(replyPointer->error()),
                            replyPointer->errorString()};
    const QByteArray rest = replyPointer->readAll();
    if (written + rest.size() > limit)
        co_return tooLarge(limit);
    // commit() alone would put a cut-off file in place when its final flush fails.
    if (file.write(rest) != rest.size() || !file.flush() || !file.commit())
        co_return ToolError{QStringLiteral("File"), 0, file.errorString()};
    co_return std::nullopt;
}
