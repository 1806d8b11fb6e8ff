import QtQuick
import Morvane

// Over the whole window while links are dragged over it.
Item {
    // Frosted: the content shows through, dimmed.
    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(Theme.bg.r, Theme.bg.g, Theme.bg.b, 0.86)
    }

    // The dashed accent outline, inset from the window's edges, stroked inside its own bounds.
    Canvas {
        anchors.fill: parent
        anchors.margins: 16

        readonly property real line: 3
        readonly property real radius: 18

        onWidthChanged: requestPaint()
        onHeightChanged: requestPaint()
        onPaint: {
            const ctx = getContext("2d");
            ctx.reset();
            const inset = line / 2;
            ctx.strokeStyle = Theme.accent;
            ctx.lineWidth = line;
            // Dashes are in line widths: 10 drawn, 6 left out.
            ctx.setLineDash([10 / line, 6 / line]);
            ctx.beginPath();
            ctx.roundedRect(inset, inset, width - line, height - line, radius - inset, radius - inset);
            ctx.stroke();
        }
    }

    Column {
        anchors.centerIn: parent
        spacing: 8

        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "arrow.down.doc.fill"
            size: 44
            color: Theme.accent
        }

        Text {
            text: qsTr("Drop links to download")
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: Theme.title2
            font.weight: Font.DemiBold
        }
    }
}
