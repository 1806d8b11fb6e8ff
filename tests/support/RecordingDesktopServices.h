#pragma once

#include "platform/DesktopServices.h"

#include <QList>
#include <QStringList>
#include <QUrl>

// Stands in for the desktop in view-model tests: records what would have been revealed or
// opened, and shows nothing.
class RecordingDesktopServices final : public DesktopServices
{
public:
    void reveal(const QString &path) override { revealed.append(path); }
    void openUrl(const QUrl &url) override { opened.append(url); }

    QStringList revealed;
    QList<QUrl> opened;
};
