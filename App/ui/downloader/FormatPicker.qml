import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// One exact-format picker: its label and the rows the form offers; a pick goes back through
// `picked`.
RowLayout {
    id: row

    property alias label: caption.text
    property alias options: box.model
    property alias currentIndex: box.currentIndex

    signal picked(int index)

    Layout.fillWidth: true
    spacing: 8

    Label {
        id: caption
        textFormat: Text.PlainText
        Layout.preferredWidth: 48
    }
    ComboBox {
        id: box
        // Narrower where the form is.
        Layout.fillWidth: true
        Layout.maximumWidth: 460
        textRole: "text"
        valueRole: "value"
        onActivated: index => row.picked(index)
    }
}
