import QtQuick
import Morvane

// The output picker with room for its menu.
AppWindow {
    id: page

    required property OutputListModel model

    width: 260
    height: 140

    OutputPicker {
        objectName: "outputPicker"
        x: 12
        y: 12
        model: page.model
    }
}
