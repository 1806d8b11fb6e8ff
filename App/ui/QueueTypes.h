#pragma once

#include "ui/downloader/LogSheetModel.h"
#include "ui/downloader/DownloadQueueModel.h"

#include <QQmlEngine>

// The queue screen's view models as QML types. The application (or a test) makes them and hands
// them to the screens, which only lay them out.
struct DownloadQueueModelForeign
{
    Q_GADGET
    QML_FOREIGN(DownloadQueueModel)
    QML_NAMED_ELEMENT(DownloadQueueModel)
    QML_UNCREATABLE("made by the application")
};

struct LogSheetModelForeign
{
    Q_GADGET
    QML_FOREIGN(LogSheetModel)
    QML_NAMED_ELEMENT(LogSheetModel)
    QML_UNCREATABLE("made by the application")
};
