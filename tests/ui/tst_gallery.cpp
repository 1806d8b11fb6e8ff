#include "QmlHarness.h"

#include "shell/Shell.h"

#include <QDir>
#include <QQuickWindow>
#include <QTest>

// Renders every screen with fixture data into build/gallery/<name>.png: each must fill its window,
// show more than one colour and load without a warning.
class TestGallery : public QObject
{
    Q_OBJECT

    static QUrl fixture(const char *file)
    {
        return QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/") + QLatin1String(file));
    }

    static void record(QQuickWindow *window, const QString &name)
    {
        const QImage image = QmlHarness::render(window);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), window->size() * window->devicePixelRatio());
        QVERIFY2(!QmlHarness::isOneColour(image), qPrintable(name + QStringLiteral(" is blank")));
        QVERIFY(QDir().mkpath(QStringLiteral(MORVANE_GALLERY_DIR)));
        QVERIFY(image.save(QStringLiteral(MORVANE_GALLERY_DIR "/") + name + QStringLiteral(".png")));
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void palette()
    {
        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(harness.create(fixture("Palette.qml")));
        QVERIFY(window);
        record(window, QStringLiteral("palette"));
    }

    void root()
    {
        Shell shell;
        QVERIFY(shell.load());
        QObject *slot = shell.mainWindow()->findChild<QObject *>(QStringLiteral("shellSlot"));
        QVERIFY(slot);
        slot->setProperty("source", fixture("ShellFixture.qml"));
        QCOMPARE(slot->property("status").toInt(), 1); // Loader.Ready
        record(shell.mainWindow(), QStringLiteral("root"));
    }
};

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
