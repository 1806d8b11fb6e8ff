#pragma once

#include "coordinator/SidebarItem.h"

#include <QObject>
#include <QStringList>

class AppState;

// The downloader inside the music window. The lit segment is the coordinator's selection, so the
// choice outlives the screen and follows link intake and the New Download command.
class DownloadsScreenModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString title MEMBER m_title CONSTANT)
    // Left to right: the queue with its count of unfinished tasks, the finished downloads, the link form.
    Q_PROPERTY(QStringList segments READ segments NOTIFY segmentsChanged)
    // The lit segment; -1 while the selection names the diagnostics, which have no segment here.
    Q_PROPERTY(int segment READ segment NOTIFY segmentChanged)
    // What fills the screen: "queue", "history" or "download".
    Q_PROPERTY(QString content READ content NOTIFY contentChanged)

public:
    explicit DownloadsScreenModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] QStringList segments() const;
    [[nodiscard]] int segment() const;
    [[nodiscard]] QString content() const;
    // Only moves the selection.
    Q_INVOKABLE void choose(int segment);

Q_SIGNALS:
    void segmentsChanged();
    void segmentChanged();
    void contentChanged();

private:
    void selectionChanged();

    const QString m_title = tr("Downloads");
    AppState *m_state;
    int m_pending;
    QString m_content;
};
