import QtQuick
import Morvane

// A card's square artwork. Under the pointer it grows by 2 % and the accent badge rises into its
// corner; the badge is a mark only, clicks go to the card.
Item {
    id: art

    property list<url> urls
    property real size: 164
    property string symbol: "play.fill"
    readonly property bool hover: pointer.hovered

    width: size
    height: size

    HoverHandler {
        id: pointer
    }

    Item {
        anchors.fill: parent
        scale: art.hover ? 1.02 : 1

        Behavior on scale {
            NumberAnimation { duration: 150; easing.type: Easing.OutQuad }
        }

        ArtworkView {
            anchors.fill: parent
            urls: art.urls
            radius: 12
        }

        Rectangle {
            objectName: "cardBadge"
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            anchors.margins: 10
            width: 38
            height: 38
            radius: 19
            color: Theme.accent
            opacity: art.hover ? 1 : 0
            transform: Translate {
                y: art.hover ? 0 : 6

                Behavior on y {
                    NumberAnimation { duration: 150; easing.type: Easing.OutQuad }
                }
            }

            Behavior on opacity {
                NumberAnimation { duration: 150; easing.type: Easing.OutQuad }
            }

            Icon {
                anchors.centerIn: parent
                name: art.symbol
                size: 18
                color: "black"
            }
        }
    }
}
