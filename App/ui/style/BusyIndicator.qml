import QtQuick
import QtQuick.Templates as T
import Morvane

// A ring of eight dots, fading behind the leading one, turning once a second. The dots scale with the
// size a screen gives (12 px and up), so it never leaves its place empty. It turns only while it runs
// and its window is on screen, with no fade when it stops: a spinner in a hidden window leaves
// nothing ticking.
T.BusyIndicator {
    id: control

    // The dots' colour; a spinner on a light surface (the play button's disc) makes it dark.
    property color color: Theme.text
    readonly property bool turning: running && visible && Window.visibility !== Window.Hidden
                                    && Window.visibility !== Window.Minimized

    // The dot at `step` (0 to 7) of the ring its parent holds, clockwise from the top, the last one
    // leading.
    component Dot: Rectangle {
        required property int step
        readonly property real size: parent ? Math.min(parent.width, parent.height) : 0
        readonly property real reach: (size - width) / 2

        x: (parent ? parent.width / 2 : 0) + reach * Math.sin(step * Math.PI / 4) - width / 2
        y: (parent ? parent.height / 2 : 0) - reach * Math.cos(step * Math.PI / 4) - height / 2
        width: Math.max(2, Math.round(size / 6))
        height: width
        radius: width / 2
        opacity: 0.2 + 0.8 * step / 7
    }

    implicitWidth: 24
    implicitHeight: 24

    contentItem: Item {
        visible: control.running

        Dot { step: 0; color: control.color }
        Dot { step: 1; color: control.color }
        Dot { step: 2; color: control.color }
        Dot { step: 3; color: control.color }
        Dot { step: 4; color: control.color }
        Dot { step: 5; color: control.color }
        Dot { step: 6; color: control.color }
        Dot { step: 7; color: control.color }

        RotationAnimation on rotation {
            running: control.turning
            from: 0
            to: 360
            duration: 1000
            loops: Animation.Infinite
        }
    }
}
