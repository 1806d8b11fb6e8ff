import QtQuick
import Morvane

// Recently Played: the song list with "Clear History".
TrackListScreen {
    id: recent

    required property LibrarySongsModel songs

    model: songs
    extraFile: "ClearHistoryButton.qml"
    extraProperties: ({
            "songs": recent.songs
        })
}
