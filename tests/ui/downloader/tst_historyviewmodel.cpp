#include "RecordingDesktopServices.h"
#include "TestEnvironment.h"
#include "TestRequests.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "ui/downloader/HistoryRowPresentation.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/downloader/LogSheetModel.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

// The history screen over a real history store and download queue in a temporary support folder.
namespace {

QStringList actionsOf(const QVariant &list)
{
    QStringList actions;
    for (const QVariant &entry : list.toList())
        actions.append(entry.toMap().value(QStringLiteral("divider")).toBool()
                           ? QStringLiteral("-")
                           : entry.toMap().value(QStringLiteral("action")).toString());
    return actions;
}

QStringList list(const char *words)
{
    return QString::fromLatin1(words).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

struct Rig
{
    TestEnvironment env;
    HistoryStore history;
    DownloadManager downloads{&history};
    RecordingDesktopServices desktop;
    HistoryViewModel model{&history, &downloads, &desktop};
    QAbstractItemModelTester tester{model.items(), QAbstractItemModelTester::FailureReportingMode::QtTest};
    QString folder = env.root() + QStringLiteral("/Downloads");
    QString file = folder + QStringLiteral("/Done video.mp4");
    QString done, failed, cancelled;

    Rig()
    {
        QDir().mkpath(folder);
        QFile(file).open(QIODevice::WriteOnly);
        cancelled = record(QStringLiteral("Cancelled video"), QStringLiteral("https://media.test/c"),
                           TaskStatus::Cancelled, {}, 0, {});
        failed = record(QStringLiteral("Failed video"), QStringLiteral("https://media.test/f"), TaskStatus::Failed, {},
                        std::nullopt, QStringLiteral("HTTP Error 404: Not Found"));
        done = record(QStringLiteral("Done video"), QStringLiteral("https://example.com/watch?v=1"),
                      TaskStatus::Completed, file, 1'234'567, {});
    }

    QString record(const QString &title, const QString &url, TaskStatus status, const QString &output,
                   std::optional<qint64> size, const std::optional<QString> &error)
    {
        DownloadOptions options = TestRequests::defaultRequest(url, folder);
        options.title = title;
        options.thumbnail = QStringLiteral("file:///dev/zero");
        DownloadTask task(options);
        task.setStatus(status);
        if (!output.isEmpty())
            task.setOutputFiles({output});
        task.setFinalSize(size);
        task.setError(error);
        history.record(task);
        return Json::uuidText(task.id());
    }

    QVariant at(int row, int role) { return model.items()->data(model.items()->index(row, 0), role); }
    QStringList titles()
    {
        QStringList titles;
        for (int row = 0; row < model.items()->rowCount(); ++row)
            titles.append(at(row, HistoryStore::TitleRole).toString());
        return titles;
    }
    int rowOf(const QString &id)
    {
        for (int row = 0; row < model.items()->rowCount(); ++row) {
            if (at(row, HistoryStore::IdRole).toString() == id)
                return row;
        }
        return -1;
    }
    QSet<QString> selected() const
    {
        QSet<QString> ids;
        for (const QUuid &id : model.selection())
            ids.insert(Json::uuidText(id));
        return ids;
    }
};

class TestHistoryViewModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void buttonsAndMenuPerEntry_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("deleteFile");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<QStringList>("menu");
        QTest::newRow("completed, file there") << QStringLiteral("done") << false << list("openFile reveal showLog")
                                               << list("openFile reveal openFolder copySourceURL showLog - remove");
        QTest::newRow("completed, file gone")
            << QStringLiteral("done") << true << list("showLog") << list("openFolder copySourceURL showLog - remove");
        QTest::newRow("failed") << QStringLiteral("failed") << false << list("retry showLog")
                                << list("openFolder copySourceURL showLog retry - remove");
        QTest::newRow("cancelled") << QStringLiteral("cancelled") << false << list("retry showLog")
                                   << list("openFolder copySourceURL showLog retry - remove");
    }

    void buttonsAndMenuPerEntry()
    {
        QFETCH(QString, entry);
        QFETCH(bool, deleteFile);
        QFETCH(QStringList, buttons);
        QFETCH(QStringList, menu);
        Rig rig;
        if (deleteFile)
            QVERIFY(QFile::remove(rig.file));
        const QString id = entry == QLatin1String("done")     ? rig.done
                           : entry == QLatin1String("failed") ? rig.failed
                                                              : rig.cancelled;
        QCOMPARE(actionsOf(rig.at(rig.rowOf(id), HistoryFilterModel::ButtonsRole)), buttons);
        QCOMPARE(actionsOf(rig.model.menu(id)), menu);
        // Return on the row opens the file where the row offers it, else the log.
        const bool opensFile = buttons.contains(QLatin1String("openFile"));
        rig.model.open(id);
        QCOMPARE(rig.desktop.opened, opensFile ? QList<QUrl>{QUrl::fromLocalFile(rig.file)} : QList<QUrl>());
        QCOMPARE(rig.model.logTask(), opensFile ? QString() : id);
    }

    void rowTexts()
    {
        Rig rig;
        QCOMPARE(rig.titles(), (QStringList{QStringLiteral("Done video"), QStringLiteral("Failed video"),
                                            QStringLiteral("Cancelled video")}));
        QCOMPARE(rig.at(0, HistoryFilterModel::StatusTextRole).toString(), QStringLiteral("Completed"));
        QCOMPARE(rig.at(0, HistoryFilterModel::SizeTextRole).toString(), QStringLiteral("1.2 MB"));
        QCOMPARE(rig.at(0, HistoryFilterModel::DetailRole).toString(), rig.file);
        QVERIFY(!rig.at(0, HistoryFilterModel::DateTextRole).toString().isEmpty());
        QCOMPARE(rig.at(1, HistoryFilterModel::SizeTextRole).toString(), QString()); // unknown
        QCOMPARE(rig.at(1, HistoryFilterModel::DetailRole).toString(), QStringLiteral("HTTP Error 404: Not Found"));
        QCOMPARE(rig.at(1, HistoryFilterModel::DetailColorRole).toString(), QStringLiteral("red"));
        QCOMPARE(rig.at(1, HistoryFilterModel::StatusIconRole).toString(),
                 QStringLiteral("exclamationmark.triangle.fill"));
        QCOMPARE(rig.at(2, HistoryFilterModel::SizeTextRole).toString(), QStringLiteral("\u2014"));
        QCOMPARE(rig.at(2, HistoryFilterModel::DetailRole).toString(), rig.folder);
        QCOMPARE(rig.at(2, HistoryFilterModel::DetailColorRole).toString(), QStringLiteral("secondary"));
        // A file: link is never loaded: the placeholder stays.
        QCOMPARE(rig.at(0, HistoryFilterModel::LoadableThumbnailRole).toString(), QString());
    }

    void searchMatchesTitleOrLinkIgnoringCase()
    {
        Rig rig;
        rig.model.setSearch(QStringLiteral("EXAMPLE"));
        QCOMPARE(rig.titles(), QStringList{QStringLiteral("Done video")});
        rig.model.setSearch(QStringLiteral("failed VIDEO"));
        QCOMPARE(rig.titles(), QStringList{QStringLiteral("Failed video")});
        rig.model.setSearch(QStringLiteral(" example")); // taken as typed, not trimmed
        QCOMPARE(rig.titles(), QStringList());
        QVERIFY(!rig.model.isEmpty()); // an empty list, not the empty state
        QVERIFY(rig.model.clearEnabled());
        rig.model.setSearch(QString());
        QCOMPARE(rig.titles().size(), 3);
    }

    void selectionByClicks()
    {
        Rig rig;
        QSignalSpy changed(rig.model.items(), &QAbstractItemModel::dataChanged);
        rig.model.click(rig.done);
        QCOMPARE(rig.selected(), QSet<QString>{rig.done});
        QVERIFY(rig.at(0, HistoryFilterModel::SelectedRole).toBool());
        QCOMPARE(changed.size(), 1);
        rig.model.click(rig.cancelled, false, true);
        QCOMPARE(rig.selected(), (QSet<QString>{rig.done, rig.failed, rig.cancelled}));
        rig.model.click(rig.failed, true);
        QCOMPARE(rig.selected(), (QSet<QString>{rig.done, rig.cancelled}));
        QVERIFY(!rig.at(1, HistoryFilterModel::SelectedRole).toBool());
        rig.model.click(rig.failed);
        QCOMPARE(rig.selected(), QSet<QString>{rig.failed});
    }

    void removeSelectedAlsoRemovesHiddenEntries()
    {
        Rig rig;
        QVERIFY(!rig.model.removeSelectedEnabled());
        rig.model.click(rig.done);
        rig.model.click(rig.failed, true);
        rig.model.setSearch(QStringLiteral("Failed"));
        QCOMPARE(rig.titles(), QStringList{QStringLiteral("Failed video")});
        QCOMPARE(rig.model.selectedCount(), 2); // the hidden entry stays selected
        rig.model.removeSelected();
        QCOMPARE(rig.history.items().size(), 1);
        QCOMPARE(rig.history.items().first().title, QStringLiteral("Cancelled video"));
        QCOMPARE(rig.model.selectedCount(), 0);
        QVERIFY(!rig.model.removeSelectedEnabled());
    }

    // Entries removed through the menu or by Clear History leave the selection.
    void removedEntriesLeaveTheSelection()
    {
        Rig rig;
        rig.model.click(rig.done);
        rig.model.click(rig.cancelled, true);
        rig.model.setSearch(QStringLiteral("Done"));
        rig.model.trigger(rig.cancelled, QStringLiteral("remove"));
        QCOMPARE(rig.selected(), QSet<QString>{rig.done});
        QVERIFY(rig.model.removeSelectedEnabled());

        rig.model.askClear();
        QVERIFY(rig.model.confirmingClear());
        rig.model.cancelClear();
        QCOMPARE(rig.history.items().size(), 2);
        rig.model.askClear();
        rig.model.confirmClear();
        QVERIFY(!rig.model.confirmingClear());
        QVERIFY(rig.history.items().isEmpty());
        QCOMPARE(rig.model.selectedCount(), 0);
        QVERIFY(!rig.model.removeSelectedEnabled());
        QVERIFY(rig.model.isEmpty());
        QVERIFY(!rig.model.clearEnabled());
        QVERIFY(QFile::exists(rig.file)); // downloaded files stay
        rig.model.askClear();             // nothing to clear: not asked
        QVERIFY(!rig.model.confirmingClear());
    }

    void entryActions()
    {
        Rig rig;
        rig.model.trigger(rig.done, QStringLiteral("openFile"));
        rig.model.trigger(rig.done, QStringLiteral("openFolder"));
        QCOMPARE(rig.desktop.opened, (QList<QUrl>{QUrl::fromLocalFile(rig.file), QUrl::fromLocalFile(rig.folder)}));
        rig.model.trigger(rig.done, QStringLiteral("reveal"));
        QCOMPARE(rig.desktop.revealed, QStringList{rig.file});

        rig.model.trigger(rig.failed, QStringLiteral("copySourceURL"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://media.test/f"));

        rig.model.trigger(rig.failed, QStringLiteral("retry"));
        QCOMPARE(rig.downloads.tasks().size(), 1);
        QCOMPARE(rig.downloads.tasks().first()->options(), rig.history.items()[1].options);
        QCOMPARE(rig.history.items().size(), 3); // the entry itself is unchanged

        // Show Log opens the sheet on the entry's log.
        LogManager::append(QStringLiteral("Queued: https://media.test/f"),
                           LogManager::taskLogPath(QUuid::fromString(rig.failed)));
        rig.model.trigger(rig.failed, QStringLiteral("showLog"));
        QCOMPARE(rig.model.logTask(), rig.failed);
        LogSheetModel sheet(&rig.desktop);
        sheet.open(rig.model.logTask(), rig.model.property("logTitle").toString());
        QCOMPARE(sheet.name(), QStringLiteral("Download Log: Failed video"));
        QTRY_VERIFY(sheet.text().endsWith(QLatin1String("] Queued: https://media.test/f\n")));
        rig.model.closeLog();
        QCOMPARE(rig.model.logTask(), QString());
        rig.model.trigger(rig.cancelled, QStringLiteral("showLog"));
        sheet.open(rig.model.logTask());
        QTRY_COMPARE(sheet.text(), QStringLiteral("No log yet."));

        rig.model.trigger(QStringLiteral("gone"), QStringLiteral("remove"));
        QCOMPARE(rig.history.items().size(), 3);
    }
};

QTEST_MAIN(TestHistoryViewModel)
#include "tst_historyviewmodel.moc"
