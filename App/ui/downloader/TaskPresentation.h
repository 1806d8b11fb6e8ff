#pragma once

#include "ui/downloader/StatusLabel.h"
#include "ui/downloader/TaskSnapshot.h"
#include "ui/downloader/UiAction.h"

#include <QList>
#include <QString>

// Everything a queue row shows of one task, computed from a snapshot and nothing else: texts,
// symbols, colour roles, which controls and menu entries it offers, and whether the bar shows.
// Equal snapshots give equal presentations, so the queue model can tell which parts changed.
struct TaskPresentation
{
    QString title;
    QString itemText; // "3/12" for a playlist of two items or more, else empty
    StatusLabel status;
    QString statusLine;
    QString statusLineColor; // "red" for a failure, else "secondary"
    bool showsProgress = false;
    double progress = 0; // finite, 0...1
    QString thumbnail;   // an http or https link, else empty (the placeholder shows)
    QString placeholderIcon;
    QList<UiAction> controls;
    QList<UiAction> menu;

    bool operator==(const TaskPresentation &) const = default;

    [[nodiscard]] static TaskPresentation of(const TaskSnapshot &task);

    // The summary under the title, by status.
    [[nodiscard]] static QString statusLineOf(const TaskSnapshot &task);
    // The icon buttons at the row's end, left to right.
    [[nodiscard]] static QList<UiAction> controlsOf(const TaskSnapshot &task);
    // The context menu, top to bottom.
    [[nodiscard]] static QList<UiAction> menuOf(const TaskSnapshot &task);
};
