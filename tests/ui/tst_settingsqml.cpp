#include "TestEnvironment.h"
#include "core/SettingsStore.h"
#include "ui/settings/GeneralSettingsModel.h"
#include "ui/settings/Setting.h"

#include <QDir>
#include <QFile>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QTest>

#include <memory>

// The settings types as QML sees them, registered here under a test module only: the
// application's QML module decides how it registers them.
class TestSettingsQml : public QObject
{
    Q_OBJECT

    QQmlEngine m_engine;

    std::unique_ptr<QObject> create(const QByteArray &qml)
    {
        QQmlComponent component(&m_engine);
        component.setData("import QtQml\nimport SettingsTest\n" + qml, QUrl(QStringLiteral("qrc:/test.qml")));
        std::unique_ptr<QObject> object(component.create());
        if (!object)
            qWarning() << component.errors();
        return object;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qmlRegisterType<Setting>("SettingsTest", 1, 0, "Setting");
        qmlRegisterType<GeneralSettingsModel>("SettingsTest", 1, 0, "GeneralSettingsModel");
    }

    // An unknown property type or a failed binding shows only as a warning.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    // JavaScript takes the text "false" for true; the Setting hands QML a real flag.
    void flagsAndNumbersAfterRestartInJavaScript()
    {
        TestEnvironment env;
        const QString folder = env.root() + QStringLiteral("/config/Morvane");
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Morvane.conf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\nnotifications=false\nmaxConcurrent=3\n");
        file.close();

        const auto object =
            create("QtObject {\n"
                   "  property Setting notifications: Setting { key: \"notifications\"; fallback: true }\n"
                   "  property Setting concurrent: Setting { key: \"maxConcurrent\"; fallback: 2 }\n"
                   "  property bool switchOn: notifications.value ? true : false\n"
                   "  property int nextCount: concurrent.value + 1\n"
                   "  function toggle() { notifications.value = !notifications.value }\n"
                   "}");
        QVERIFY(object);
        QCOMPARE(object->property("switchOn").toBool(), false);
        QCOMPARE(object->property("nextCount").toInt(), 4);
        QMetaObject::invokeMethod(object.get(), "toggle");
        QCOMPARE(object->property("switchOn").toBool(), true); // followed the write at once
        QCOMPARE(SettingsStore::value(QStringLiteral("notifications")), QVariant(true));
    }

    void modelsReachTheirParts()
    {
        TestEnvironment env;
        const auto object = create("GeneralSettingsModel {\n"
                                   "  property string label: maxConcurrent.label\n"
                                   "  function press() { maxConcurrent.stepUp() }\n"
                                   "}");
        QVERIFY(object);
        QCOMPARE(object->property("label").toString(), QStringLiteral("Simultaneous downloads: 2"));
        QMetaObject::invokeMethod(object.get(), "press");
        QCOMPARE(object->property("label").toString(), QStringLiteral("Simultaneous downloads: 3"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsQml)
#include "tst_settingsqml.moc"
