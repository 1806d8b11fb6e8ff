#include "QmlHarness.h"
#include "RecordingDesktopServices.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestImages.h"
#include "TestRequests.h"
#include "core/Json.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "ui/downloader/HistoryViewModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// What only the history screen's QML wires: modified clicks reaching the selection, the right-click menu, and
// thumbnails loaded through the shared image provider.
namespace {

constexpr int rowHeight = 66;
constexpr int rowSpacing = 2;

// Image.status as QML reads it.
constexpr int ImageNull = 0;
constexpr int ImageReady = 1;
constexpr int ImageError = 3;

} // namespace

struct Screen
{
    TestEnvironment env;
    HistoryStore history;
    DownloadManager downloads{&history};
    RecordingDesktopServices desktop;
    HistoryViewModel model{&history, &downloads, &desktop};
    QmlHarness harness;
    std::unique_ptr<QObject> page;
    QQuickWindow *window = nullptr;
    QStringList ids; // newest first, as listed

    Screen()
    {
        const QString folder = env.root() + QStringLiteral("/Downloads");
        for (const char *name : {"d", "c", "b", "a"}) {
            DownloadOptions options =
                TestRequests::defaultRequest(QStringLiteral("https://media.test/") + QLatin1String(name), folder);
            options.title = QLatin1String(name);
            DownloadTask task(options);
            task.setStatus(TaskStatus::Failed);
            history.record(task);
            ids.prepend(Json::uuidText(task.id()));
        }
        page.reset(harness.create(QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/HistoryPage.qml")),
                                  {{QStringLiteral("model"), QVariant::fromValue(&model)}}));
        window = qobject_cast<QQuickWindow *>(page.get());
        if (window) {
            window->show();
            if (!QTest::qWaitForWindowExposed(window))
                window = nullptr;
        }
    }

    // A point inside the list's row `row` (the list starts below the search bar).
    QPoint rowPoint(int row) const
    {
        const auto *list = window->findChild<QQuickItem *>(QStringLiteral("historyList"));
        const QPointF top = list->mapToScene(QPointF(300, row * (rowHeight + rowSpacing) + rowHeight / 2));
        return top.toPoint();
    }

    QSet<QString> selected() const
    {
        QSet<QString> texts;
        for (const QUuid &id : model.selection())
            texts.insert(Json::uuidText(id));
        return texts;
    }
};

class TestHistoryScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void modifiedClicksReachTheSelection()
    {
        Screen screen;
        QVERIFY(screen.window);
        QTest::mouseClick(screen.window, Qt::LeftButton, {}, screen.rowPoint(0));
        QCOMPARE(screen.selected(), QSet<QString>{screen.ids[0]});
        QTest::mouseClick(screen.window, Qt::LeftButton, Qt::ControlModifier, screen.rowPoint(2));
        QCOMPARE(screen.selected(), (QSet<QString>{screen.ids[0], screen.ids[2]}));
        QTest::mouseClick(screen.window, Qt::LeftButton, Qt::ControlModifier, screen.rowPoint(0));
        QCOMPARE(screen.selected(), QSet<QString>{screen.ids[2]});
        QTest::mouseClick(screen.window, Qt::LeftButton, {}, screen.rowPoint(1));
        QCOMPARE(screen.selected(), QSet<QString>{screen.ids[1]});
        QTest::mouseClick(screen.window, Qt::LeftButton, Qt::ShiftModifier, screen.rowPoint(3));
        QCOMPARE(screen.selected(), (QSet<QString>{screen.ids[1], screen.ids[2], screen.ids[3]}));
    }

    // A right click opens the entry's menu as the view model describes it, and an item acts on that entry.
    void rightClickOpensTheEntrysMenu()
    {
        Screen screen;
        QVERIFY(screen.window);
        QTest::mouseClick(screen.window, Qt::RightButton, {}, screen.rowPoint(1));
        auto *loader = screen.window->findChild<QObject *>(QStringLiteral("historyMenu"));
        QVERIFY(loader);
        auto *menu = qvariant_cast<QObject *>(loader->property("item"));
        QVERIFY(menu);
        QTRY_VERIFY(menu->property("opened").toBool());

        QStringList texts;
        QQuickItem *copy = nullptr;
        const int count = menu->property("count").toInt();
        for (int i = 0; i < count; ++i) {
            QQuickItem *item = nullptr;
            QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, i));
            const QString text = item->property("text").toString();
            texts.append(text.isEmpty() ? QStringLiteral("-") : text);
            if (text == QLatin1String("Copy Source URL"))
                copy = item;
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("Open Folder"), QStringLiteral("Copy Source URL"),
                                     QStringLiteral("Show Log"), QStringLiteral("Retry Download"), QStringLiteral("-"),
                                     QStringLiteral("Remove from History")}));
        QVERIFY(copy);
        screen.harness.engine().collectGarbage(); // the entries are made by script
        QMetaObject::invokeMethod(copy, "triggered");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("https://media.test/b"));
    }

    void thumbnailsComeThroughTheProvider_data()
    {
        QTest::addColumn<QString>("link"); // a path on the local server, or a whole link when it has a scheme
        QTest::addColumn<int>("status");   // of the row's image once settled

        QTest::newRow("an image") << QStringLiteral("/thumb.png") << ImageReady;
        QTest::newRow("missing") << QStringLiteral("/missing.png") << ImageError;
        QTest::newRow("a file link") << QStringLiteral("file:///dev/zero") << ImageNull;
    }

    // The provider hands back the rounded 96×54 crop; a failure or a link that is not http or https leaves
    // the image unshown, so the row keeps its film placeholder.
    void thumbnailsComeThroughTheProvider()
    {
        QFETCH(QString, link);
        QFETCH(int, status);

        TestHttpServer server;
        server.serveText(QStringLiteral("/thumb.png"), TestImages::solid(Qt::blue, {320, 90}), "image/png");

        Screen screen;
        QVERIFY(screen.window);
        DownloadOptions options = TestRequests::defaultRequest(QStringLiteral("https://media.test/e"),
                                                               screen.env.root() + QStringLiteral("/Downloads"));
        options.thumbnail = link.startsWith(QLatin1Char('/')) ? server.url(link).toString() : link;
        DownloadTask task(options);
        task.setStatus(TaskStatus::Failed);
        // The failed fetch may be reported while the rows are still being looked for.
        if (status == ImageError)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("HistoryRow.qml")));
        screen.history.record(task);

        // The other entries have no thumbnail, so the one image with a source is the new entry's.
        // Delegates are reached through the item tree, not QObject children.
        const auto *list = screen.window->findChild<QQuickItem *>(QStringLiteral("historyList"));
        QTRY_COMPARE(list->property("count").toInt(), 5);
        QQuickItem *first = nullptr;
        int images = 0;
        const auto find = [&](const auto &self, QQuickItem *item) -> void {
            if (item->objectName() == QLatin1String("historyThumbnail")) {
                ++images;
                if (!first || !item->property("source").toUrl().isEmpty())
                    first = item;
            }
            for (QQuickItem *child : item->childItems())
                self(self, child);
        };
        QTRY_VERIFY((images = 0, find(find, screen.window->contentItem()), images == 5));
        QTRY_COMPARE(first->property("status").toInt(), status);
        const QString source = first->property("source").toUrl().toString();
        QCOMPARE(source.startsWith(QLatin1String("image://thumbnail/")), status != ImageNull);
        QCOMPARE(first->isVisible(), status == ImageReady);
        if (status == ImageReady)
            QCOMPARE(first->property("sourceSize").toSize(), QSize(96, 54));
    }
};

QTEST_MAIN(TestHistoryScreen)
#include "tst_historyscreen.moc"
