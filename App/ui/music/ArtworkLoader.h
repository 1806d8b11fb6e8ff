#pragma once

#include "core/CancelToken.h"

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QUrl>

class ArtworkManager;

// Finds the picture of an artwork view among its candidate links, best first, and names it for an
// Image: the best picture already held shows at once, and while a better one may be had the first
// that loads replaces it (a small picture stands in for the large one until it comes). A new
// first candidate starts again, and the picture shown stays until the next one is there, so
// switching songs never flashes the placeholder. A view that goes away, or moves on, stops
// waiting, and a download that no other view waits for is aborted. The picture shown is held in
// the manager while it shows.
class ArtworkLoader : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    Q_PROPERTY(QList<QUrl> urls READ urls WRITE setUrls NOTIFY urlsChanged)
    Q_PROPERTY(int radius READ radius WRITE setRadius NOTIFY radiusChanged)
    // The picture for an Image, empty while there is none.
    Q_PROPERTY(QUrl source READ source NOTIFY pictureChanged)
    // Its blurred copy.
    Q_PROPERTY(QUrl backdrop READ backdrop NOTIFY pictureChanged)
    Q_PROPERTY(bool loaded READ loaded NOTIFY pictureChanged)

public:
    explicit ArtworkLoader(QObject *parent = nullptr);
    ~ArtworkLoader() override;

    [[nodiscard]] QList<QUrl> urls() const { return m_urls; }
    void setUrls(const QList<QUrl> &urls);
    [[nodiscard]] int radius() const { return m_radius; }
    void setRadius(int radius);
    [[nodiscard]] QUrl source() const;
    [[nodiscard]] QUrl backdrop() const;
    [[nodiscard]] bool loaded() const { return !m_picture.isEmpty(); }

    // Where the pictures come from; by default the manager installed on the view's engine.
    void setManager(ArtworkManager *manager) { m_manager = manager; }

    void classBegin() override {}
    void componentComplete() override;

Q_SIGNALS:
    void urlsChanged();
    void radiusChanged();
    void pictureChanged();

private:
    void start();
    QCoro::Task<> load(QList<QUrl> urls, CancelToken cancel);
    void show(const QUrl &picture);

    QList<QUrl> m_urls;
    int m_radius = 0;
    QUrl m_picture;
    QPointer<ArtworkManager> m_manager;
    bool m_complete = false;
    CancelToken m_cancel;
};
