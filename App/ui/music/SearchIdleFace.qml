import QtQuick
import QtQuick.Controls
import Morvane

// The Search page before any search: the title, then the hint or the newest recent searches,
// each searching again when clicked.
Flickable {
    id: face

    required property SearchScreenModel model

    objectName: "idleFace"
    contentHeight: idleColumn.height + 48
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    Column {
        id: idleColumn

        y: 24
        width: parent.width
        spacing: 16

        Text {
            leftPadding: Theme.pageInset
            text: qsTr("Search")
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: 32
            font.bold: true
        }

        Text {
            objectName: "searchHint"
            width: parent.width
            leftPadding: Theme.pageInset
            rightPadding: Theme.pageInset
            visible: face.model.recents.length === 0
            wrapMode: Text.Wrap
            text: qsTr("Type in the search bar above, or paste a YouTube video, playlist or mix link.")
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.body
        }

        Item {
            width: parent.width
            height: clearButton.height
            visible: face.model.recents.length > 0

            Text {
                x: Theme.pageInset
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Recent searches")
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: Theme.headline
                font.bold: true
            }

            PlainTextButton {
                id: clearButton

                objectName: "clearRecents"
                anchors.right: parent.right
                anchors.rightMargin: Theme.pageInset
                text: qsTr("Clear")
                onClicked: face.model.clearRecents()
            }
        }

        Repeater {
            model: face.model.recents

            // The text is the user's: a plain Text, so an "&" stays.
            AbstractButton {
                id: recent

                required property string modelData

                objectName: "recent:" + modelData
                width: parent ? parent.width : 0
                leftPadding: Theme.pageInset
                rightPadding: Theme.pageInset
                topPadding: 6
                bottomPadding: 6
                focusPolicy: Qt.NoFocus
                Accessible.name: modelData
                contentItem: Row {
                    spacing: 8

                    Icon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: "clock"
                        size: 14
                        color: Theme.dim
                    }

                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: recent.modelData
                        textFormat: Text.PlainText
                        color: Theme.text
                        font.pixelSize: Theme.body
                    }
                }
                onClicked: () => face.model.search(modelData)
            }
        }
    }
}
