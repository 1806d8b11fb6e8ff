import QtQuick
import Morvane

// Shuffle, previous, play/pause, next and repeat; `big` for the Now Playing view.
Row {
    id: row

    required property TransportModel model
    property bool big: false
    readonly property real symbolSize: big ? 20 : 15

    spacing: big ? 26 : 18

    SymbolToolButton {
        objectName: "shuffleButton"
        anchors.verticalCenter: parent.verticalCenter
        symbol: "shuffle"
        help: qsTr("Shuffle")
        size: row.symbolSize
        colour: row.model.shuffle ? Theme.accent : Theme.dim
        onClicked: row.model.toggleShuffle()
    }

    SymbolToolButton {
        objectName: "previousButton"
        anchors.verticalCenter: parent.verticalCenter
        symbol: "backward.fill"
        size: row.symbolSize
        enabled: row.model.hasCurrent
        Accessible.name: qsTr("Previous")
        onClicked: row.model.previous()
    }

    PlayPauseButton {
        objectName: "playPauseButton"
        anchors.verticalCenter: parent.verticalCenter
        model: row.model
        size: row.big ? 54 : 38
    }

    SymbolToolButton {
        objectName: "nextButton"
        anchors.verticalCenter: parent.verticalCenter
        symbol: "forward.fill"
        size: row.symbolSize
        enabled: row.model.hasCurrent
        Accessible.name: qsTr("Next")
        onClicked: row.model.next()
    }

    SymbolToolButton {
        objectName: "repeatButton"
        anchors.verticalCenter: parent.verticalCenter
        symbol: row.model.repeatSymbol
        help: qsTr("Repeat")
        size: row.symbolSize
        colour: row.model.repeatOn ? Theme.accent : Theme.dim
        onClicked: row.model.stepRepeat()
    }
}
