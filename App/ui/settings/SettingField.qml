import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// A labelled text field over one text key, storing exactly what is typed.
RowLayout {
    id: row

    property alias label: caption.text
    property alias key: setting.key
    property alias fallback: setting.fallback
    property alias placeholderText: field.placeholderText
    property alias font: field.font
    // What a screen reader calls the field: its label, or the heading of a field without one.
    property string name: caption.text

    Layout.fillWidth: true
    spacing: 8

    Label {
        id: caption
        textFormat: Text.PlainText
        visible: text !== ""
    }

    TextField {
        id: field
        objectName: row.key
        Layout.fillWidth: true
        Accessible.name: row.name
        text: setting.value
        onTextEdited: setting.value = text
    }

    Setting {
        id: setting
        fallback: ""
    }
}
