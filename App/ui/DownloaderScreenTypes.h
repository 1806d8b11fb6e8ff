#pragma once

#include "ui/downloader/DiagnosticsViewModel.h"
#include "ui/downloader/DownloadScreenModel.h"
#include "ui/downloader/HistoryFilterModel.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/downloader/SetupViewModel.h"

#include <QObject>
#include <QtQml/qqml.h>

// The setup, diagnostics and history view models as QML types, so the screens can require them by type and
// qmllint checks every binding. The application and the tests create the instances.
struct ForeignSetupViewModel
{
    Q_GADGET
    QML_FOREIGN(SetupViewModel)
    QML_NAMED_ELEMENT(SetupViewModel)
    QML_UNCREATABLE("made by the application")
};

struct ForeignDiagnosticsViewModel
{
    Q_GADGET
    QML_FOREIGN(DiagnosticsViewModel)
    QML_NAMED_ELEMENT(DiagnosticsViewModel)
    QML_UNCREATABLE("made by the application")
};

struct ForeignHistoryViewModel
{
    Q_GADGET
    QML_FOREIGN(HistoryViewModel)
    QML_NAMED_ELEMENT(HistoryViewModel)
    QML_UNCREATABLE("made by the application")
};

struct ForeignHistoryFilterModel
{
    Q_GADGET
    QML_FOREIGN(HistoryFilterModel)
    QML_NAMED_ELEMENT(HistoryFilterModel)
    QML_UNCREATABLE("made by the history view model")
};

struct ForeignDownloadScreenModel
{
    Q_GADGET
    QML_FOREIGN(DownloadScreenModel)
    QML_NAMED_ELEMENT(DownloadScreenModel)
    QML_UNCREATABLE("made by the application")
};

struct ForeignDownloadFormModel
{
    Q_GADGET
    QML_FOREIGN(DownloadFormModel)
    QML_NAMED_ELEMENT(DownloadFormModel)
    QML_UNCREATABLE("made by the download screen's model")
};

struct ForeignDownloadSettings
{
    Q_GADGET
    QML_FOREIGN(DownloadSettings)
    QML_NAMED_ELEMENT(DownloadSettings)
    QML_UNCREATABLE("made by the download form's model")
};

struct ForeignPlaylistEntryModel
{
    Q_GADGET
    QML_FOREIGN(PlaylistEntryModel)
    QML_ANONYMOUS
};
