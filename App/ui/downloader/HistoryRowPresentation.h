#pragma once

#include "engine/HistoryItem.h"
#include "ui/downloader/StatusLabel.h"
#include "ui/downloader/UiAction.h"

#include <QList>
#include <QString>

// What the history screen shows of one entry: its texts, buttons and menu. Whether the downloaded file still exists is
// asked by the caller, once per row built or menu opened, never over the whole history.
struct HistoryRowPresentation
{
    StatusLabel status;
    QString dateText;
    QString sizeText; // empty when the size is unknown; "—" below 1 byte
    QString detail;   // the file, else the error, else the folder
    QString detailColor;
    QString thumbnail; // an http or https link, else empty

    bool operator==(const HistoryRowPresentation &) const = default;

    [[nodiscard]] static HistoryRowPresentation of(const HistoryItem &item);
    // The icon buttons at the row's end, left to right.
    [[nodiscard]] static QList<UiAction> buttonsOf(const HistoryItem &item, bool fileExists);
    // The context menu, top to bottom, dividers included.
    [[nodiscard]] static QList<UiAction> menuOf(const HistoryItem &item, bool fileExists);
    // The entry's file is recorded and there.
    [[nodiscard]] static bool fileExists(const HistoryItem &item);
};
