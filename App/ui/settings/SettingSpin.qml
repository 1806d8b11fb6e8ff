import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// A stepper: its label with the stored value, and a spin box clamped to the range.
RowLayout {
    id: row

    required property var stepper

    Layout.fillWidth: true
    spacing: 8

    Label {
        Layout.fillWidth: true
        text: row.stepper.label
        textFormat: Text.PlainText
    }

    SpinBox {
        Accessible.name: row.stepper.name
        from: row.stepper.from
        to: row.stepper.to
        stepSize: row.stepper.step
        value: row.stepper.shown
        onValueModified: row.stepper.modify(value)
    }
}
