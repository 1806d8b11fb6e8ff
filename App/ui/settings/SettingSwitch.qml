import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// A switch over one flag key; only the user's toggle writes it.
Switch {
    id: control

    property alias key: setting.key
    property alias fallback: setting.fallback

    objectName: setting.key
    Layout.fillWidth: true
    checked: setting.value
    onToggled: setting.value = checked

    Setting {
        id: setting
    }
}
