#include "SidebarItem.h"

namespace SidebarItems {

const QList<SidebarItem> &all()
{
    static const QList<SidebarItem> items{SidebarItem::Download, SidebarItem::Queue, SidebarItem::History,
                                          SidebarItem::Diagnostics};
    return items;
}

QString rawValue(SidebarItem item)
{
    switch (item) {
    case SidebarItem::Download: return QStringLiteral("Download");
    case SidebarItem::Queue: return QStringLiteral("Queue");
    case SidebarItem::History: return QStringLiteral("History");
    case SidebarItem::Diagnostics: return QStringLiteral("Diagnostics");
    }
    return {};
}

} // namespace SidebarItems
