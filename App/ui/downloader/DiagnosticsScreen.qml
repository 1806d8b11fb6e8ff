import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The machine, the tools and the last run of the checks, with the actions that run, repair, copy and find
// the log. The checks run by themselves the first time the screen is shown.
ScrollView {
    id: screen

    required property DiagnosticsViewModel model

    contentWidth: availableWidth
    Component.onCompleted: model.shown()
    onVisibleChanged: if (visible)
        model.shown()

    ColumnLayout {
        width: screen.availableWidth
        spacing: 14

        DiagnosticsGroup {
            title: "System"
            Repeater {
                model: screen.model.systemRows
                delegate: RowLayout {
                    required property var modelData
                    Layout.fillWidth: true
                    spacing: 8
                    Text {
                        Layout.preferredWidth: 110
                        Layout.alignment: Qt.AlignTop
                        wrapMode: Text.Wrap
                        text: parent.modelData.label
                        textFormat: Text.PlainText
                        color: Theme.text
                        font.pixelSize: Theme.body
                        font.weight: Font.Medium
                    }
                    TextEdit {
                        Layout.fillWidth: true
                        readOnly: true
                        selectByMouse: true
                        wrapMode: TextEdit.Wrap
                        text: parent.modelData.value
                        color: Theme.dim
                        font.pixelSize: Theme.body
                    }
                }
            }
        }

        DiagnosticsGroup {
            title: "Dependencies"
            Repeater {
                model: screen.model.toolRows
                delegate: Column {
                    id: tool
                    required property var modelData
                    Layout.fillWidth: true

                    ComponentRow {
                        width: parent.width
                        row: tool.modelData
                    }
                    TextEdit {
                        x: 32
                        width: parent.width - 32
                        visible: tool.modelData.path !== ""
                        readOnly: true
                        selectByMouse: true
                        text: tool.modelData.path
                        color: Qt.rgba(1, 1, 1, 0.3)
                        font.pixelSize: Theme.footnote
                        font.family: "monospace"
                    }
                    Rectangle {
                        width: parent.width
                        height: 1
                        color: Theme.stroke
                    }
                }
            }
            Text {
                visible: screen.model.ejsLine !== ""
                text: screen.model.ejsLine
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.caption
            }
        }

        DiagnosticsGroup {
            title: "Results"
            visible: screen.model.results.length > 0
            Repeater {
                model: screen.model.results
                delegate: RowLayout {
                    required property var modelData
                    Layout.fillWidth: true
                    spacing: 8
                    Icon {
                        Layout.alignment: Qt.AlignTop
                        name: parent.modelData.icon
                        color: Theme.roleColour(parent.modelData.color)
                    }
                    Text {
                        Layout.preferredWidth: 150
                        Layout.alignment: Qt.AlignTop
                        text: parent.modelData.name
                        textFormat: Text.PlainText
                        color: Theme.text
                        font.pixelSize: Theme.body
                        font.weight: Font.Medium
                    }
                    TextEdit {
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignTop
                        readOnly: true
                        selectByMouse: true
                        wrapMode: TextEdit.Wrap
                        text: parent.modelData.detail
                        color: Theme.dim
                        font.pixelSize: Theme.body
                    }
                }
            }
        }

        RowLayout {
            Layout.leftMargin: Theme.pageInset
            Layout.rightMargin: Theme.pageInset
            spacing: 8

            SymbolButton {
                objectName: "runDiagnostics"
                symbol: "stethoscope"
                text: "Run Diagnostics"
                enabled: screen.model.runEnabled
                onClicked: screen.model.runDiagnostics()
            }
            SymbolButton {
                objectName: "repair"
                symbol: "wrench.and.screwdriver"
                text: "Repair Dependencies"
                enabled: screen.model.repairEnabled
                onClicked: screen.model.repair()
            }
            SymbolButton {
                objectName: "copyReport"
                symbol: "doc.on.doc"
                text: "Copy Report"
                enabled: screen.model.copyEnabled
                onClicked: screen.model.copyReport()
            }
            SymbolButton {
                objectName: "appLog"
                symbol: "doc.text"
                text: "App Log"
                onClicked: screen.model.revealAppLog()
            }
            BusyIndicator {
                Layout.preferredWidth: 22
                Layout.preferredHeight: 22
                visible: screen.model.spinning
                running: visible
            }
            Item {
                Layout.fillWidth: true
            }
        }

        Text {
            Layout.leftMargin: Theme.pageInset
            Layout.bottomMargin: 16
            visible: screen.model.busyCaption !== ""
            text: screen.model.busyCaption
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.caption
        }
    }
}
