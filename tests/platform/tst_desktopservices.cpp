#include "TestEnvironment.h"
#include "TestFileManager.h"
#include "platform/DesktopServices.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTest>

// Showing a file through the file manager on the test's private session bus, and the fallback
// of opening its folder when no file manager answers.

// Catches what QDesktopServices would hand to the desktop for file: links.
class OpenedUrls : public QObject
{
    Q_OBJECT

public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> urls;

public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class TestDesktopServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void revealAsksTheFileManager()
    {
        TestEnvironment env;
        TestFileManager fileManager;
        QVERIFY(fileManager.isRegistered());
        OpenedUrls opened;
        DesktopServices desktop;
        const QString path = env.root() + QStringLiteral("/Downloads/A song #1.m4a");

        desktop.reveal(path);
        QTRY_COMPARE(fileManager.shown(), QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)});
        QVERIFY(fileManager.shown().first().contains(QLatin1String("A%20song%20%231.m4a")));
        QTest::qWait(50);
        QCOMPARE(opened.urls, QList<QUrl>());
    }

    // The Tools folder, say: the file manager shows the folder itself, not its parent.
    void revealFolderAsksTheFileManager()
    {
        TestEnvironment env;
        TestFileManager fileManager;
        QVERIFY(fileManager.isRegistered());
        OpenedUrls opened;
        DesktopServices desktop;
        const QString folder = env.root() + QStringLiteral("/Tools");

        desktop.revealFolder(folder);
        QTRY_COMPARE(fileManager.shownFolders(), QStringList{QUrl::fromLocalFile(folder).toString()});
        QCOMPARE(fileManager.shown(), QStringList());
        QTest::qWait(50);
        QCOMPARE(opened.urls, QList<QUrl>());
    }

    void withoutFileManagerARevealedFolderOpens()
    {
        TestEnvironment env;
        OpenedUrls opened;
        DesktopServices desktop;
        desktop.revealFolder(env.root() + QStringLiteral("/Tools"));
        QTRY_COMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(env.root() + QStringLiteral("/Tools"))});
    }

    void withoutFileManagerTheFolderOpens()
    {
        TestEnvironment env;
        OpenedUrls opened;
        DesktopServices desktop;
        desktop.reveal(env.root() + QStringLiteral("/Logs/app.log"));
        QTRY_COMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(env.root() + QStringLiteral("/Logs"))});
    }

    void openPathOpensTheFile()
    {
        OpenedUrls opened;
        DesktopServices desktop;
        desktop.openPath(QStringLiteral("/tmp/some folder"));
        QCOMPARE(opened.urls, QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/some folder"))});
    }
};

QTEST_MAIN(TestDesktopServices)
#include "tst_desktopservices.moc"
