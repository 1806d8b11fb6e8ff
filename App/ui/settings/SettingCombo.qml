import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// A labelled picker; a stored value outside its rows selects none, and only a row the user
// picks is stored.
RowLayout {
    id: row

    property alias label: caption.text
    required property var picker

    Layout.fillWidth: true
    spacing: 8

    Label {
        id: caption
        textFormat: Text.PlainText
        Layout.fillWidth: true
    }

    ComboBox {
        // Named by its label, not by the value it shows.
        Accessible.name: row.label
        Layout.preferredWidth: 160
        model: row.picker.options
        textRole: "text"
        valueRole: "value"
        currentIndex: row.picker.currentIndex
        onActivated: index => row.picker.activate(index)
    }
}
