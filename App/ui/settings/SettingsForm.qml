import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// One settings tab: its sections top to bottom, scrolling when the window is too short for them.
ScrollView {
    id: form

    default property alias sections: column.data

    contentWidth: availableWidth
    padding: 16

    ColumnLayout {
        id: column
        width: form.availableWidth
        spacing: 12
    }
}
