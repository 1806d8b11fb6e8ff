import QtQuick
import QtQuick.Controls
import Morvane

// The Explore screen: trending songs (loaded once, again only after a failure), the genres and
// the moods.
Item {
    id: page

    required property ExploreModel model

    Component.onCompleted: model.load()

    Flickable {
        id: flickable
        objectName: "explorePage"
        anchors.fill: parent
        contentWidth: width
        contentHeight: column.height + 40
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        Column {
            id: column
            width: flickable.width
            spacing: 30

            Text {
                x: Theme.pageInset
                topPadding: 26
                text: qsTr("Explore")
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: 32
                font.bold: true
            }

            Row {
                objectName: "trendingLoading"
                x: Theme.pageInset
                visible: page.model.trendingState === "loading"
                spacing: 8

                BusyIndicator {
                    anchors.verticalCenter: parent.verticalCenter
                    width: 18
                    height: 18
                    running: parent.visible
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Loading trending music…")
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: Theme.body
                }
            }
            CardShelf {
                objectName: "trending"
                width: parent.width
                visible: page.model.trendingState === "done"
                title: qsTr("Trending Now")
                subtitle: qsTr("Live from YouTube")
                cards: page.model.trending
            }
            Row {
                objectName: "trendingFailed"
                x: Theme.pageInset
                visible: page.model.trendingState === "failed"
                spacing: 8

                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(implicitWidth, column.width - 2 * Theme.pageInset - retry.width - 8)
                    text: page.model.trendingMessage
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: Theme.body
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                }
                PillButton {
                    id: retry
                    objectName: "retryTrending"
                    anchors.verticalCenter: parent.verticalCenter
                    title: qsTr("Retry")
                    symbol: "arrow.clockwise"
                    onClicked: page.model.load()
                }
            }

            CardShelf {
                objectName: "genres"
                width: parent.width
                title: qsTr("Genres")
                cards: page.model.genres
                style: "genres"
            }
            CardShelf {
                objectName: "moods"
                width: parent.width
                title: qsTr("Moods & Moments")
                cards: page.model.moods
                style: "moods"
            }
        }
    }
}
