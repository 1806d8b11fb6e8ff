import QtQuick
import Morvane

// The history screen with the log sheet its entries' "Show Log" opens.
Item {
    id: tab

    required property HistoryViewModel history
    required property LogSheetModel logSheet

    HistoryScreen {
        anchors.fill: parent
        model: tab.history
        onLogRequested: taskId => sheet.show(taskId, tab.history.logTitle)
    }

    LogSheet {
        id: sheet
        model: tab.logSheet
        onClosed: tab.history.closeLog()
    }
}
