#pragma once

#include <QList>
#include <QString>

// The downloader's tabs, in the order the downloads screen lists them.
enum class SidebarItem { Download, Queue, History, Diagnostics };

namespace SidebarItems {
[[nodiscard]] const QList<SidebarItem> &all();
// The tab's title.
[[nodiscard]] QString rawValue(SidebarItem item);
} // namespace SidebarItems
