import QtQuick
import Morvane

// The finished downloads, with the log sheet their "Show Log" opens.
Item {
    id: tab

    required property HistoryViewModel history
    required property LogSheetModel logSheet

    HistoryScreen {
        anchors.fill: parent
        model: tab.history
        onLogRequested: taskId => sheet.show(taskId)
    }
    LogSheet {
        id: sheet
        model: tab.logSheet
        onClosed: tab.history.closeLog()
    }
}
