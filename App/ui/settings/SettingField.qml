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
        text: setting.value
        Accessible.name: caption.text !== "" ? caption.text : placeholderText
        onTextEdited: setting.value = text
    }

    Setting {
        id: setting
        fallback: ""
    }
}
