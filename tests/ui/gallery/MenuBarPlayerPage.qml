import QtQuick
import Morvane

// The tray panel's content over the fixture the test hands in; `showQueue` opens its queue.
AppWindow {
    id: page

    required property MenuBarPlayerModel model
    property bool showQueue: false

    width: content.width
    height: content.implicitHeight

    MenuBarPlayer {
        id: content

        objectName: "menuBarPlayer"
        model: page.model
        showQueue: page.showQueue
    }
}
