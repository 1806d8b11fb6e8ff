import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The Download screen: the link bar, and under it what the coordinator holds for the link: nothing
// yet, a fetch under way, its failure, or the fetched media.
Item {
    id: screen

    required property DownloadScreenModel model

    // The current downloader screen of a visible window: the link is fetched after the delay, and
    // the field, its first control, takes the keyboard unless a control has it (the segments that
    // chose this screen keep it).
    readonly property bool shown: visible && Window.visibility !== Window.Hidden

    function report() {
        screen.model.shown = shown
        if (shown)
            KeyboardAccess.showPage(screen)
    }

    onShownChanged: report()
    Component.onCompleted: report()
    Component.onDestruction: screen.model.shown = false

    // Ctrl+Return lives only while the screen is shown.
    Shortcut {
        sequence: "Ctrl+Return"
        enabled: screen.shown
        onActivated: screen.model.download()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            Layout.topMargin: 20
            Layout.bottomMargin: 14
            spacing: 10

            Rectangle {
                Layout.fillWidth: true
                implicitHeight: linkRow.implicitHeight + 16
                radius: 10
                color: Theme.panel
                border.color: Theme.stroke

                RowLayout {
                    id: linkRow
                    anchors.fill: parent
                    anchors.leftMargin: 10
                    anchors.rightMargin: 10
                    spacing: 8

                    Icon {
                        name: "link"
                        color: Theme.dim
                    }
                    TextField {
                        id: field
                        objectName: "linkField"
                        Layout.fillWidth: true
                        background: null
                        placeholderText: screen.model.fieldPrompt
                        // Its prompt is the one label it has.
                        Accessible.name: placeholderText
                        text: screen.model.urlText
                        onTextEdited: screen.model.urlText = text
                        onAccepted: screen.model.fetchNow()
                    }
                    SymbolToolButton {
                        objectName: "clearButton"
                        visible: screen.model.urlText !== ""
                        symbol: "xmark.circle.fill"
                        help: screen.model.clearHelp
                        size: 16
                        colour: Theme.dim
                        onClicked: screen.model.clear()
                    }
                }
            }
            SymbolButton {
                objectName: "pasteButton"
                symbol: "doc.on.clipboard"
                text: screen.model.pasteText
                ToolTip.text: screen.model.pasteHelp
                ToolTip.visible: hovered
                onClicked: screen.model.paste()
            }
            SymbolButton {
                objectName: "downloadButton"
                symbol: "arrow.down.circle.fill"
                text: screen.model.downloadText
                highlighted: true
                enabled: screen.model.canDownload
                // The next link goes into the field.
                onClicked: {
                    screen.model.download()
                    field.forceActiveFocus()
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.stroke
        }

        ScrollView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth

            ColumnLayout {
                width: parent.width
                spacing: 18

                // The empty state. Centred as a whole: with no child that fills, a layout grows no
                // wider than its content, so filling the width would leave it at the left.
                ColumnLayout {
                    objectName: "placeholder"
                    visible: screen.model.stateKind === "placeholder"
                    Layout.alignment: Qt.AlignHCenter
                    Layout.margins: 20
                    Layout.minimumHeight: 260
                    spacing: 8

                    Icon {
                        Layout.alignment: Qt.AlignHCenter
                        Layout.topMargin: 60
                        name: "play.rectangle.on.rectangle"
                        size: 46
                        color: Theme.dim
                        opacity: 0.6
                    }
                    Text {
                        Layout.alignment: Qt.AlignHCenter
                        text: screen.model.emptyTitle
                        textFormat: Text.PlainText
                        color: Theme.text
                        font.pixelSize: Theme.title3
                        font.weight: Font.Medium
                    }
                    Text {
                        Layout.alignment: Qt.AlignHCenter
                        text: screen.model.dropHint
                        textFormat: Text.PlainText
                        color: Theme.dim
                        font.pixelSize: Theme.body
                    }
                }

                RowLayout {
                    objectName: "loading"
                    visible: screen.model.stateKind === "loading"
                    Layout.alignment: Qt.AlignHCenter
                    Layout.minimumHeight: 200
                    spacing: 8

                    BusyIndicator {
                        implicitWidth: 24
                        implicitHeight: 24
                        running: parent.visible
                    }
                    Text {
                        text: screen.model.loadingText
                        textFormat: Text.PlainText
                        color: Theme.dim
                        font.pixelSize: Theme.body
                    }
                }

                Rectangle {
                    objectName: "failure"
                    visible: screen.model.stateKind === "failed"
                    Layout.fillWidth: true
                    Layout.margins: 20
                    implicitHeight: failureRow.implicitHeight + 24
                    radius: 10
                    color: Qt.rgba(Theme.orange.r, Theme.orange.g, Theme.orange.b, 0.1)

                    RowLayout {
                        id: failureRow
                        anchors.fill: parent
                        anchors.margins: 12
                        spacing: 8

                        Icon {
                            name: "exclamationmark.triangle.fill"
                            color: Theme.orange
                        }
                        Text {
                            objectName: "failureText"
                            Layout.fillWidth: true
                            text: screen.model.failure
                            textFormat: Text.PlainText
                            color: Theme.orange
                            wrapMode: Text.WordWrap
                            font.pixelSize: Theme.body
                        }
                    }
                }

                // The form exists only while there is fetched media to show.
                Loader {
                    id: formSlot
                    objectName: "formSlot"

                    readonly property bool wanted: screen.model.stateKind === "loaded" && screen.model.hasMedia

                    function load() {
                        if (wanted)
                            setSource("DownloadForm.qml", {"model": screen.model.form});
                        else
                            source = "";
                    }

                    Layout.fillWidth: true
                    Layout.margins: 20
                    // Added to the queue, the form goes, and the keyboard back to what fetched it.
                    onLoaded: KeyboardAccess.showPage(item)
                    onWantedChanged: load()
                    Component.onCompleted: load()
                }
            }
        }
    }
}
