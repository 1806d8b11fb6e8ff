import QtQuick

// The main window's content: the shell slot that the music shell fills.
Item {
    Loader {
        objectName: "shellSlot"
        anchors.fill: parent
    }
}
