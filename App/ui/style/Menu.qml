import QtQuick
import QtQuick.Templates as T
import Morvane

// A menu: its items on a raised surface, no wider than 320 px so long names elide.
T.Menu {
    id: control

    // As wide as its widest item asks (label and shortcut), up to the cap.
    readonly property real widestItem: {
        let widest = 0;
        for (let i = 0; i < count; ++i) {
            const item = itemAt(i);
            if (item)
                widest = Math.max(widest, item.implicitWidth);
        }
        return widest;
    }

    implicitWidth: Math.min(320, Math.max(implicitBackgroundWidth + leftInset + rightInset, widestItem + leftPadding + rightPadding))
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, contentHeight + topPadding + bottomPadding)
    padding: 4
    margins: 0
    overlap: 4
    font.pixelSize: Theme.body

    delegate: MenuItem {}

    contentItem: ListView {
        implicitHeight: contentHeight
        model: control.contentModel
        interactive: Window.window ? contentHeight + control.topPadding + control.bottomPadding > Window.window.height : false
        clip: true
        currentIndex: control.currentIndex

        T.ScrollBar.vertical: ScrollBar {}
    }

    background: Raised {
        implicitWidth: 180
        implicitHeight: 32
    }

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.4)
    }
    T.Overlay.modeless: Rectangle {
        color: "transparent"
    }
}
