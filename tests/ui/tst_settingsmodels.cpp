#include "TestEnvironment.h"
#include "core/SettingsStore.h"
#include "ui/settings/FolderChooserModel.h"
#include "ui/settings/FormatSettingsModel.h"
#include "ui/settings/GeneralSettingsModel.h"
#include "ui/settings/NetworkSettingsModel.h"
#include "ui/settings/Setting.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include <functional>

namespace {

// The three downloader tabs, as one window builds them.
struct Tabs
{
    GeneralSettingsModel general;
    FormatSettingsModel formats;
    NetworkSettingsModel network;

    SettingPicker *picker(const QString &name)
    {
        if (name == QLatin1String("container"))
            return formats.container();
        if (name == QLatin1String("audioFormat"))
            return formats.audioFormat();
        return network.cookies();
    }

    SettingStepper *stepper(const QString &name)
    {
        if (name == QLatin1String("maxConcurrent"))
            return general.maxConcurrent();
        if (name == QLatin1String("retries"))
            return network.retries();
        if (name == QLatin1String("fragments"))
            return network.fragments();
        return network.timeout();
    }
};

QStringList words(const char *text)
{
    return QString::fromLatin1(text).split(QLatin1Char(' '));
}

QStringList column(const QVariantList &options, const QString &role)
{
    QStringList values;
    for (const QVariant &option : options)
        values.append(option.toMap().value(role).toString());
    return values;
}

} // namespace

class TestSettingsModels : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pickerRows_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("container") << "container" << words("MP4 MKV WEBM") << words("mp4 mkv webm");
        QTest::newRow("audio") << "audioFormat" << words("MP3 M4A OPUS FLAC WAV AAC VORBIS")
                               << words("mp3 m4a opus flac wav aac vorbis");
        QTest::newRow("cookies, no Safari")
            << "cookies" << words("None Chrome Firefox Edge Brave Chromium Opera Vivaldi")
            << words("none chrome firefox edge brave chromium opera vivaldi");
    }

    void pickerRows()
    {
        QFETCH(QString, picker);
        QFETCH(QStringList, texts);
        QFETCH(QStringList, values);
        TestEnvironment env;
        Tabs tabs;
        const QVariantList options = tabs.picker(picker)->options();
        QCOMPARE(column(options, QStringLiteral("text")), texts);
        QCOMPARE(column(options, QStringLiteral("value")), values);
    }

    void pickerSelection_data()
    {
        QTest::addColumn<QString>("picker");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored"); // empty: nothing stored
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("value");
        QTest::newRow("container default") << "container"
                                           << "mergeContainer"
                                           << "" << 0 << "mp4";
        QTest::newRow("container mkv") << "container"
                                       << "mergeContainer"
                                       << "mkv" << 1 << "mkv";
        QTest::newRow("container MKV") << "container"
                                       << "mergeContainer"
                                       << "MKV" << -1 << "MKV";
        QTest::newRow("audio default") << "audioFormat"
                                       << "audioFormat"
                                       << "" << 0 << "mp3";
        QTest::newRow("audio vorbis") << "audioFormat"
                                      << "audioFormat"
                                      << "vorbis" << 6 << "vorbis";
        QTest::newRow("audio alac") << "audioFormat"
                                    << "audioFormat"
                                    << "alac" << -1 << "alac";
        QTest::newRow("cookies default") << "cookies"
                                         << "cookiesBrowser"
                                         << "" << 0 << "none";
        QTest::newRow("cookies vivaldi") << "cookies"
                                         << "cookiesBrowser"
                                         << "vivaldi" << 7 << "vivaldi";
        QTest::newRow("cookies safari") << "cookies"
                                        << "cookiesBrowser"
                                        << "safari" << -1 << "safari";
        QTest::newRow("cookies Firefox") << "cookies"
                                         << "cookiesBrowser"
                                         << "Firefox" << -1 << "Firefox";
    }

    void pickerSelection()
    {
        QFETCH(QString, picker);
        QFETCH(QString, key);
        QFETCH(QString, stored);
        QFETCH(int, index);
        QFETCH(QString, value);
        TestEnvironment env;
        if (!stored.isEmpty())
            SettingsStore::set(key, stored);
        Tabs tabs;
        SettingPicker *control = tabs.picker(picker);
        QCOMPARE(control->currentIndex(), index);
        QCOMPARE(control->value(), value);
        // Showing it, and a press outside the list, never rewrite what is stored.
        control->activate(-1);
        control->activate(int(control->options().size()));
        QCOMPARE(SettingsStore::isStored(key), !stored.isEmpty());
        QCOMPARE(SettingsStore::string(key), value);
    }

    void pickingStoresLowerCase()
    {
        TestEnvironment env;
        SettingsStore::set(QStringLiteral("mergeContainer"), QStringLiteral("MKV"));
        SettingsStore::set(QStringLiteral("cookiesBrowser"), QStringLiteral("safari"));
        Tabs tabs;
        Tabs otherWindow;
        QSignalSpy spy(otherWindow.formats.container(), &SettingPicker::currentIndexChanged);
        tabs.formats.container()->activate(2);
        QCOMPARE(SettingsStore::string(QStringLiteral("mergeContainer")), QStringLiteral("webm"));
        QCOMPARE(otherWindow.formats.container()->currentIndex(), 2);
        QCOMPARE(spy.size(), 1);
        tabs.network.cookies()->activate(0);
        QCOMPARE(SettingsStore::networkSnapshot().cookiesBrowser, QStringLiteral("none"));
    }

    void steppers_data()
    {
        QTest::addColumn<QString>("stepper");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("presses"); // up when positive
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("label");
        QTest::newRow("downloads at start") << "maxConcurrent"
                                            << "maxConcurrent" << 0 << 2 << "Simultaneous downloads: 2";
        QTest::newRow("downloads stop at 1") << "maxConcurrent"
                                             << "maxConcurrent" << -5 << 1 << "Simultaneous downloads: 1";
        QTest::newRow("downloads stop at 6") << "maxConcurrent"
                                             << "maxConcurrent" << 9 << 6 << "Simultaneous downloads: 6";
        QTest::newRow("retries stop at 0") << "retries"
                                           << "retries" << -20 << 0 << "Retries: 0";
        QTest::newRow("retries stop at 50") << "retries"
                                            << "retries" << 60 << 50 << "Retries: 50";
        QTest::newRow("fragments stop at 1") << "fragments"
                                             << "fragments" << -9 << 1 << "Concurrent fragments: 1";
        QTest::newRow("fragments stop at 16") << "fragments"
                                              << "fragments" << 20 << 16 << "Concurrent fragments: 16";
        QTest::newRow("timeout at start") << "timeout"
                                          << "timeout" << 0 << 30 << "Network timeout: 30s";
        QTest::newRow("timeout steps by 5") << "timeout"
                                            << "timeout" << 3 << 45 << "Network timeout: 45s";
        QTest::newRow("timeout stops at 5") << "timeout"
                                            << "timeout" << -10 << 5 << "Network timeout: 5s";
        QTest::newRow("timeout stops at 300") << "timeout"
                                              << "timeout" << 70 << 300 << "Network timeout: 300s";
    }

    void steppers()
    {
        QFETCH(QString, stepper);
        QFETCH(QString, key);
        QFETCH(int, presses);
        QFETCH(int, value);
        QFETCH(QString, label);
        TestEnvironment env;
        Tabs tabs;
        SettingStepper *control = tabs.stepper(stepper);
        for (int i = 0; i < std::abs(presses); ++i)
            presses > 0 ? control->stepUp() : control->stepDown();
        QCOMPARE(control->value(), value);
        QCOMPARE(control->label(), label);
        // A screen reader reads the label without the value, which the control reads itself.
        QCOMPARE(control->name(), label.section(u':', 0, 0));
        QCOMPARE(SettingsStore::integer(key), value);
    }

    void aPressAtTheBoundWritesNothing()
    {
        TestEnvironment env;
        SettingsStore::set(QStringLiteral("timeout"), QStringLiteral("300")); // as read after a restart
        Tabs tabs;
        QSignalSpy spy(tabs.network.timeout(), &SettingStepper::valueChanged);
        tabs.network.timeout()->stepUp();
        QCOMPARE(tabs.network.timeout()->label(), QStringLiteral("Network timeout: 300s"));
        QCOMPARE(SettingsStore::value(QStringLiteral("timeout")), QVariant(QStringLiteral("300")));
        QCOMPARE(spy.size(), 0);
    }

    void aValueOutsideTheRangeStaysUntilTheUserSteps()
    {
        TestEnvironment env;
        SettingsStore::set(QStringLiteral("maxConcurrent"), 9);
        Tabs tabs;
        SettingStepper *stepper = tabs.general.maxConcurrent();
        QCOMPARE(stepper->shown(), 6);
        QCOMPARE(stepper->label(), QStringLiteral("Simultaneous downloads: 9"));
        stepper->stepUp();
        QCOMPARE(SettingsStore::integer(QStringLiteral("maxConcurrent")), 9);
        stepper->stepDown();
        QCOMPARE(stepper->label(), QStringLiteral("Simultaneous downloads: 5"));
        stepper->modify(40); // a spin box's typed value, clamped
        QCOMPARE(SettingsStore::integer(QStringLiteral("maxConcurrent")), 6);
    }

    void chooseFolder_data()
    {
        QTest::addColumn<QUrl>("chosen");
        QTest::addColumn<QString>("stored"); // empty: unchanged
        QTest::newRow("local folder") << QUrl::fromLocalFile(QStringLiteral("/media/disk/Videos"))
                                      << "/media/disk/Videos";
        QTest::newRow("name with spaces") << QUrl(QStringLiteral("file:///home/a/My%20Films")) << "/home/a/My Films";
        QTest::newRow("network place") << QUrl(QStringLiteral("smb://nas/share/videos")) << "";
        QTest::newRow("sftp place") << QUrl(QStringLiteral("sftp://host/home/a")) << "";
        QTest::newRow("cancelled") << QUrl() << "";
    }

    void chooseFolder()
    {
        QFETCH(QUrl, chosen);
        QFETCH(QString, stored);
        TestEnvironment env;
        Tabs tabs;
        const Setting folder(QStringLiteral("downloadFolder"), QString());
        const QString before = folder.value().toString();
        QSignalSpy spy(&folder, &Setting::valueChanged);
        tabs.general.chooseFolder(chosen);
        QCOMPARE(folder.value().toString(), stored.isEmpty() ? before : stored);
        QCOMPARE(spy.size(), stored.isEmpty() ? 0 : 1);
        QCOMPARE(SettingsStore::isStored(QStringLiteral("downloadFolder")), !stored.isEmpty());
    }

    // The folder chooser over a home holding Downloads (empty) and Music; `name`, when given, is made there.
    void folderChooser_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("error");
        const auto row = [](const char *tag, const char *start, const char *name, const char *shown,
                            const QString &error = {}) {
            QTest::newRow(tag) << QString::fromUtf8(start) << QString::fromUtf8(name) << QString::fromUtf8(shown)
                               << error;
        };
        row("an empty folder can be chosen", "Downloads", "", "Downloads");
        row("a gone folder opens its parent", "Music/Gone/Deeper", "", "Music");
        row("a new folder is made and shown", "Downloads", " Clips 2026 ", "Downloads/Clips 2026");
        row("a taken name", "Music", "Live", "Music", QStringLiteral("\u201cLive\u201d already exists here."));
    }
    void folderChooser()
    {
        QFETCH(QString, start);
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QFETCH(QString, error);
        TestEnvironment env;
        const QDir home = QDir::home();
        for (const char *folder : {"Downloads", "Music/Live", "Music/albums"})
            QVERIFY(home.mkpath(QLatin1String(folder)));
        FolderChooserModel chooser;
        QAbstractItemModelTester tester(&chooser, QAbstractItemModelTester::FailureReportingMode::QtTest);
        chooser.start(home.filePath(start));
        if (!name.isEmpty()) {
            chooser.setNewName(name);
            chooser.create();
        }
        QCOMPARE(chooser.folder(), home.filePath(shown));
        QVERIFY(chooser.canChoose());
        QCOMPARE(chooser.error(), error);
    }

    void resetTemplate()
    {
        TestEnvironment env;
        Tabs tabs;
        const QString fallback = QStringLiteral("%(title)s [%(id)s].%(ext)s");
        Setting field(QStringLiteral("outputTemplate"), fallback);
        field.setValue(QString()); // not validated: stored empty
        QCOMPARE(SettingsStore::string(QStringLiteral("outputTemplate")), QString());
        tabs.general.resetTemplate();
        QCOMPARE(field.value(), QVariant(fallback));
        SettingsStore::remove(QStringLiteral("outputTemplate"));
        tabs.general.resetTemplate(); // unchanged, but stored again
        QVERIFY(SettingsStore::isStored(QStringLiteral("outputTemplate")));
    }

    void subtitleOptionsFollowDownloadSubtitles()
    {
        TestEnvironment env;
        Tabs tabs;
        Tabs otherWindow;
        QSignalSpy spy(&otherWindow.formats, &FormatSettingsModel::subtitleOptionsEnabledChanged);
        QVERIFY(!tabs.formats.subtitleOptionsEnabled());
        Setting writeSubs(QStringLiteral("writeSubs"), false);
        Setting languages(QStringLiteral("subLangs"), QStringLiteral("en.*"));
        Setting autoSubs(QStringLiteral("autoSubs"), false);
        writeSubs.setValue(true);
        QVERIFY(otherWindow.formats.subtitleOptionsEnabled());
        languages.setValue(QStringLiteral("de"));
        autoSubs.setValue(true);
        writeSubs.setValue(false);
        QVERIFY(!tabs.formats.subtitleOptionsEnabled());
        QCOMPARE(spy.size(), 2);
        QCOMPARE(languages.value(), QVariant(QStringLiteral("de")));
        QCOMPARE(autoSubs.value(), QVariant(true));
    }
};

QTEST_GUILESS_MAIN(TestSettingsModels)
#include "tst_settingsmodels.moc"
