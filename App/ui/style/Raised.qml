import QtQuick
import Morvane

// The surface of what floats over a window (menus, tool tips, pop-ups, dialogs): a shade lighter than
// the sidebar, with the hairline outline.
Rectangle {
    color: Qt.lighter(Theme.side, 2)
    border.color: Theme.stroke
    radius: 8
}
