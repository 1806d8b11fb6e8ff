#include "TaskSnapshot.h"

#include "engine/DownloadTask.h"

TaskSnapshot TaskSnapshot::of(const DownloadTask &task)
{
    TaskSnapshot snapshot;
    snapshot.status = task.status();
    snapshot.progress = task.progress();
    snapshot.currentBytes = task.currentBytes();
    snapshot.totalBytes = task.totalBytes();
    snapshot.speed = task.speed();
    snapshot.eta = task.eta();
    snapshot.finalSize = task.finalSize();
    snapshot.stage = task.stage();
    snapshot.error = task.error();
    snapshot.firstFile = task.firstFile().toLocalFile();
    snapshot.displayTitle = task.displayTitle();
    snapshot.itemIndex = task.itemIndex();
    snapshot.itemCount = task.itemCount();
    snapshot.url = task.options().url;
    snapshot.thumbnail = task.options().thumbnail;
    snapshot.audioOnly = task.options().audioOnly;
    return snapshot;
}
