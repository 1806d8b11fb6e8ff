import QtQuick
import QtQuick.Controls
import Morvane

// The audio output button: a menu of the outputs in the system's order, the one in use checked.
PlayerButton {
    id: picker

    required property OutputListModel model

    symbol: "airplayaudio"
    help: qsTr("Audio Output")
    size: 16
    colour: Theme.dim
    onClicked: menuLoader.active = true

    // The menu exists only while open.
    Loader {
        id: menuLoader

        active: false
        sourceComponent: Menu {
            id: menu

            objectName: "outputMenu"
            y: picker.height
            onClosed: menuLoader.active = false
            Component.onCompleted: open()

            Instantiator {
                model: picker.model
                delegate: MenuItem {
                    required property string name
                    required property string description
                    required property bool inUse

                    text: description
                    checkable: true
                    checked: inUse
                    onTriggered: picker.model.choose(name)
                }
                onObjectAdded: (index, object) => menu.insertItem(index, object)
                onObjectRemoved: (index, object) => menu.removeItem(object)
            }
        }
    }
}
