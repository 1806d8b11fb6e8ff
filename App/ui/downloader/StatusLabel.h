#pragma once

#include "engine/TaskStatus.h"

#include <QString>

// How a task status is named on the queue and history screens: its text (shown as it stands,
// never translated), its symbol and its colour role ("secondary", "accent", "orange", "green" or
// "red"; the view maps roles to the palette).
struct StatusLabel
{
    QString text;
    QString icon;
    QString color;

    bool operator==(const StatusLabel &) const = default;

    [[nodiscard]] static StatusLabel of(TaskStatus status);
};
