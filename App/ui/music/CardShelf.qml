import QtQuick
import Morvane

// A shelf of cards or tiles of one kind: "cards" (songs, stations, playlists), "genres" or
// "moods".
Shelf {
    id: shelf

    required property CardListModel cards
    property string style: "cards"

    model: cards
    rowHeight: style === "genres" ? 92 : style === "moods" ? 70 : 222
    delegate: style === "genres" ? genreTile : style === "moods" ? moodTile : card

    // A horizontal list places its items along x only: y keeps the room above each.
    Component {
        id: card
        Card {
            y: 2
        }
    }
    Component {
        id: genreTile
        GenreTile {
            y: 2
        }
    }
    Component {
        id: moodTile
        MoodTile {
            y: 2
        }
    }
}
