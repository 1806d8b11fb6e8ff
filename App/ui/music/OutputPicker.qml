import QtQuick
import Morvane

// The audio output button: a menu of the outputs in the system's order, the one in use checked.
SymbolToolButton {
    id: picker

    required property OutputListModel model

    symbol: "airplayaudio"
    help: qsTr("Audio Output")
    size: 16
    colour: Theme.dim
    onClicked: {
        picker.model.listOutputs();
        menu.open();
    }

    OutputMenu {
        id: menu

        y: picker.height
        model: picker.model
    }
}
