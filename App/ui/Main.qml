import QtQuick
import Morvane

// The main window. Closing it only hides it: the application keeps running until it is quit.
AppWindow {
    id: window
    objectName: "mainWindow"
    title: "Morvane"
    width: 1280
    height: 800
    minimumWidth: 1020
    minimumHeight: 660

    Root {
        anchors.fill: parent
    }
}
