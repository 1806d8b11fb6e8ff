import QtQuick
import QtQuick.Controls
import Morvane

// A check box over one flag key; only the user's toggle writes it.
CheckBox {
    required property Setting setting

    checked: setting.value
    onToggled: setting.value = checked
}
