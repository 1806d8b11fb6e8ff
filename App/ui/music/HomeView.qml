import QtQuick
import QtQuick.Controls
import Morvane

// The Home screen: the greeting and "Play Non-Stop", the recent searches while nothing else is to
// offer, one shelf per recommendation section, and a card explaining an empty Home. One list of
// shelves, so only the shelves in view are built.
ListView {
    id: page

    required property HomeModel home

    Component.onCompleted: home.shown(Window.window)

    objectName: "homeList"
    spacing: 30
    bottomMargin: 40
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    // The arrows belong to the shelves; Tab goes from shelf to shelf.
    keyNavigationEnabled: false
    model: home.sections
    ScrollBar.vertical: ScrollBar {}

    TabOrder {
        content: page.contentItem
    }

    header: Column {
        id: top

        readonly property HomeModel home: (ListView.view as HomeView).home

        width: ListView.view.width
        spacing: 30
        bottomPadding: 30

        Item {
            width: parent.width
            height: titleLine.height

            PageHeader {
                id: titleLine
                width: parent.width
                view: top.ListView.view
                inset: Theme.pageInset
                topPadding: 26
                // The spinner's room.
                titleTrail: 28
                title: top.home.greeting
                heading.objectName: "greeting"

                PillButton {
                    objectName: "playNonStop"
                    title: qsTr("Play Non-Stop")
                    symbol: "infinity"
                    prominent: true
                    onClicked: top.home.playNonStop()
                }
            }
            BusyIndicator {
                objectName: "discovering"
                x: titleLine.heading.x + titleLine.heading.width + 10
                y: titleLine.heading.y + (titleLine.heading.height - height) / 2
                width: 18
                height: 18
                visible: top.home.discovering
                running: visible
                ToolTip.visible: hovered.hovered
                ToolTip.delay: 500
                ToolTip.text: qsTr("Finding new music for you…")

                HoverHandler {
                    id: hovered
                }
            }
        }

        Shelf {
            objectName: "recentSearches"
            width: parent.width
            visible: top.home.searchesShown
            title: qsTr("Recent Searches")
            model: top.home.recentSearches
            rowHeight: 32
            delegate: SearchChip {
                y: 2
            }
        }
    }

    delegate: CardShelf {
        required title
        required subtitle
        required property string key
        required cards
        required property bool tiles
        required property int index

        objectName: "section:" + key
        onItemsFocusedChanged: if (itemsFocused) ListView.view.positionViewAtIndex(index, ListView.Contain)
        width: ListView.view.width
        style: tiles ? "genres" : "cards"
    }

    footer: Item {
        id: bottom

        readonly property HomeModel home: (ListView.view as HomeView).home

        width: ListView.view.width
        height: bottom.home.introShown ? intro.height + 30 : 0
        visible: bottom.home.introShown

        Rectangle {
            id: intro
            objectName: "homeIntro"
            x: Theme.pageInset
            y: 30
            width: parent.width - 2 * Theme.pageInset
            height: introColumn.implicitHeight + 60
            radius: 16
            color: Theme.panel

            Column {
                id: introColumn
                anchors.centerIn: parent
                width: Math.min(460, parent.width - 60)
                spacing: 8

                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: qsTr("Your Home is built from what you listen to")
                    textFormat: Text.PlainText
                    color: Theme.text
                    font.pixelSize: 15
                    font.weight: Font.DemiBold
                    wrapMode: Text.Wrap
                }
                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: qsTr("Search for a song or pick a genre above. Quick Picks, Mixes, Radio and more will appear here as you play, like and skip music.")
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: Theme.body
                    wrapMode: Text.Wrap
                }
                Item {
                    width: parent.width
                    height: searchButton.implicitHeight + 6

                    PillButton {
                        id: searchButton
                        objectName: "searchForMusic"
                        y: 6
                        anchors.horizontalCenter: parent.horizontalCenter
                        title: qsTr("Search for music")
                        symbol: "magnifyingglass"
                        prominent: true
                        onClicked: bottom.home.openSearch()
                    }
                }
            }
        }
    }
}
