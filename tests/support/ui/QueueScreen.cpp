#include "QueueScreen.h"

#include "TestRequests.h"
#include "core/ProgressEvent.h"
#include "engine/DownloadTask.h"

#include <QQuickItem>
#include <QQuickWindow>

QueueScreen::QueueScreen()
{
    const QVariantMap properties{
        {QStringLiteral("queue"), QVariant::fromValue<QObject *>(&queue)},
        {QStringLiteral("logSheet"), QVariant::fromValue<QObject *>(&logSheet)},
    };
    window = qobject_cast<QQuickWindow *>(harness.create(
        QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/QueueFixture.qml")), properties));
}

DownloadTask *QueueScreen::add(const QString &title)
{
    DownloadOptions options = TestRequests::defaultRequest(QStringLiteral("https://video.example/") + title,
                                                           env.root() + QStringLiteral("/Downloads"));
    options.title = title;
    return manager.enqueue(options);
}

void QueueScreen::addEveryStatus()
{
    DownloadTask *running = add(QStringLiteral("Concert at the harbour"));
    running->setStatus(TaskStatus::Downloading);
    running->apply({ProgressEvent::Progress{12'300'000, 45'600'000, 1'200'000.0, 27, {}}});

    DownloadTask *playlist = add(QStringLiteral("Road trip mix"));
    playlist->setStatus(TaskStatus::Downloading);
    playlist->apply({ProgressEvent::Item{3, 12, QStringLiteral("Road trip mix: Third song")}});
    playlist->apply({ProgressEvent::Progress{2'000'000, 8'000'000, 850'000.0, 7, {}}});

    DownloadTask *processing = add(QStringLiteral("Lecture on tides"));
    processing->setStatus(TaskStatus::Processing);
    processing->setProgress(0.995);
    processing->setStage(QStringLiteral("Merging formats"));

    DownloadTask *paused = add(QStringLiteral("Night walk"));
    paused->setStatus(TaskStatus::Paused);
    paused->setProgress(0.379);

    add(QStringLiteral("Morning birds"))->setStage(QStringLiteral("Resuming after restart"));
    add(QStringLiteral("Rain on the roof"));

    DownloadTask *done = add(QStringLiteral("Old radio play"));
    done->setStatus(TaskStatus::Completed);
    done->setProgress(1);
    done->setFinalSize(48'200'000);
    done->setOutputFiles({env.root() + QStringLiteral("/Downloads/Old radio play.mp4")});

    DownloadTask *failed = add(QStringLiteral("Lost episode"));
    failed->setStatus(TaskStatus::Failed);
    failed->setError(QStringLiteral("ERROR: [generic] Unable to download webpage: HTTP Error 404: Not Found\n"
                                    "ERROR: the video may have been removed or made private"));

    add(QStringLiteral("Interview, part two"))->setStatus(TaskStatus::Cancelled);
}

QQuickItem *QueueScreen::list() const
{
    return window->findChild<QQuickItem *>(QStringLiteral("queueList"));
}

QQuickItem *QueueScreen::row(int index) const
{
    QQuickItem *item = nullptr;
    QMetaObject::invokeMethod(list(), "itemAtIndex", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, index));
    return item;
}

QQuickItem *QueueScreen::control(int index, const QString &action) const
{
    QQuickItem *item = row(index);
    return item ? QmlHarness::findItem(item, action) : nullptr;
}

QObject *QueueScreen::sheet() const
{
    return window->findChild<QObject *>(QStringLiteral("logSheet"));
}

QStringList QueueScreen::titles() const
{
    QStringList titles;
    for (const DownloadTask *task : manager.tasks())
        titles.append(task->options().title);
    return titles;
}
