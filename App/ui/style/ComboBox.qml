import QtQuick
import QtQuick.Templates as T
import Morvane

// A picker: a bordered button showing the chosen row with a chevron, opening its rows as a menu.
T.ComboBox {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding,
                             implicitIndicatorHeight + topPadding + bottomPadding)
    padding: 5
    leftPadding: 10
    rightPadding: 10 + indicator.width + spacing
    spacing: 6
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4

    // The rows reach the picker by its id, which qmllint 6.4 does not follow into a delegate.
    // qmllint disable unqualified
    delegate: T.ItemDelegate {
        id: row

        required property int index
        required property var model

        width: ListView.view.width
        implicitHeight: 24
        leftPadding: 24
        rightPadding: 10
        // A list of values or of maps hands each row as modelData; an item model by its roles.
        text: {
            const data = Array.isArray(control.model) ? model.modelData : model;
            return control.textRole === "" ? (Array.isArray(control.model) ? data : data.display) : data[control.textRole];
        }
        font: control.font
        highlighted: control.highlightedIndex === index
        hoverEnabled: control.hoverEnabled

        contentItem: Text {
            text: row.text
            textFormat: Text.PlainText
            font: row.font
            color: Theme.text
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
        Icon {
            x: 6
            anchors.verticalCenter: parent.verticalCenter
            visible: control.currentIndex === row.index
            name: "checkmark"
            size: 14
        }
        background: Rectangle {
            radius: 4
            color: row.highlighted ? Theme.accent : "transparent"
        }
    }
    // qmllint enable unqualified

    indicator: Icon {
        x: control.width - width - 8
        y: (control.height - height) / 2
        name: "chevron.down"
        size: 16
        color: Theme.dim
    }

    contentItem: Text {
        text: control.displayText
        textFormat: Text.PlainText
        font: control.font
        color: Theme.text
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Face {
        implicitWidth: 140
        control: control
        pressed: control.down
    }

    popup: T.Popup {
        y: control.height + 2
        width: control.width
        height: Math.min(contentItem.implicitHeight + topPadding + bottomPadding, control.Window.height - topMargin - bottomMargin)
        padding: 4
        topMargin: 6
        bottomMargin: 6

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: control.delegateModel
            currentIndex: control.highlightedIndex
            highlightMoveDuration: 0

            T.ScrollBar.vertical: ScrollBar {}
        }

        background: Raised {}
    }
}
