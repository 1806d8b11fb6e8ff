import QtQuick
import QtQuick.Templates as T
import Morvane

// The hairline between groups of menu commands.
T.MenuSeparator {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    verticalPadding: 4
    horizontalPadding: 6

    contentItem: Rectangle {
        implicitWidth: 160
        implicitHeight: 1
        color: Theme.stroke
    }
}
