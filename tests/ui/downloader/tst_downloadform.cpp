#include "AppStateRig.h"
#include "FakeYtDlp.h"
#include "QmlHarness.h"
#include "core/SettingsStore.h"
#include "engine/FormatManager.h"
#include "ui/downloader/DownloadScreenModel.h"
#include "ui/downloader/MediaSummary.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A single video's "-J" object: one video-only format per height, one audio format, and the
// subtitle and caption languages given.
QJsonObject video(const QList<int> &heights, const QStringList &subtitles = {}, const QStringList &captions = {})
{
    QJsonArray formats;
    for (const int height : heights) {
        formats.append(QJsonObject{{u"format_id"_s, QString::number(height)},
                                   {u"ext"_s, u"mp4"_s},
                                   {u"height"_s, height},
                                   {u"vcodec"_s, u"avc1.640028"_s}});
    }
    formats.append(QJsonObject{{u"format_id"_s, u"140"_s}, {u"ext"_s, u"m4a"_s}, {u"acodec"_s, u"mp4a.40.2"_s}});
    QJsonObject subs;
    for (const QString &lang : subtitles)
        subs.insert(lang, QJsonArray());
    QJsonObject caps;
    for (const QString &lang : captions)
        caps.insert(lang, QJsonArray());
    return {{u"title"_s, u"Clip"_s}, {u"formats"_s, formats}, {u"subtitles"_s, subs}, {u"automatic_captions"_s, caps}};
}

// "l01" … "l15": fifteen languages in sorted order.
QStringList languages(int count)
{
    QStringList langs;
    for (int i = 1; i <= count; ++i)
        langs.append(u"l%1"_s.arg(i, 2, 10, QLatin1Char('0')));
    return langs;
}

QByteArray fixture(const char *name)
{
    QFile file(QStringLiteral(MORVANE_TEST_DATA_DIR "/downloadform/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList texts(const QVariantList &options)
{
    QStringList list;
    for (const QVariant &option : options)
        list.append(option.toMap().value(u"text"_s).toString());
    return list;
}

} // namespace

class TestDownloadForm : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppStateRig> m_rig;
    std::unique_ptr<DownloadScreenModel> m_screen;

    AppState &state() { return *m_rig->state; }
    DownloadFormModel &form() { return *m_screen->form(); }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }

    void init()
    {
        m_rig = std::make_unique<AppStateRig>();
        QVERIFY(m_rig->makeReady());
        m_screen = std::make_unique<DownloadScreenModel>(state());
        m_screen->setShown(true);
    }

    void cleanup()
    {
        m_screen.reset();
        m_rig.reset();
    }

    void summary_data()
    {
        QTest::addColumn<QJsonObject>("json");
        QTest::addColumn<QString>("preset");
        QTest::addColumn<QString>("formatsLine");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("note");

        const QJsonObject hd = video({720, 1080, 360}, {u"en"_s});
        const QString upTo1080 = u"Up to 1080p · 4 formats"_s;
        QTest::newRow("4K above the highest")
            << hd << u"4K"_s << upTo1080 << u"Highest available is 1080p — that’s what you’ll get."_s
            << u"Available: en"_s;
        QTest::newRow("a cap equal to the highest")
            << hd << u"1080p"_s << upTo1080 << u"Best quality up to 1080p, merged by FFmpeg."_s << u"Available: en"_s;
        QTest::newRow("a cap below the highest")
            << hd << u"720p"_s << upTo1080 << u"Best quality up to 720p, merged by FFmpeg."_s << u"Available: en"_s;
        QTest::newRow("best") << hd << u"Best Quality"_s << upTo1080
                              << u"Highest quality video and audio, merged by FFmpeg."_s << u"Available: en"_s;
        QTest::newRow("no heights, twelve languages")
            << video({}, languages(12)) << u"4K"_s << QString() << u"Best quality up to 4K, merged by FFmpeg."_s
            << u"Available: "_s + languages(12).join(u", "_s);
        QTest::newRow("fifteen languages: twelve and more")
            << video({480}, languages(15)) << u"720p"_s << u"Up to 480p · 2 formats"_s
            << u"Highest available is 480p — that’s what you’ll get."_s
            << u"Available: "_s + languages(12).join(u", "_s) + u"…"_s;
        QTest::newRow("auto captions only")
            << video({480}, {}, {u"en"_s}) << u"Best Quality"_s << u"Up to 480p · 2 formats"_s
            << u"Highest quality video and audio, merged by FFmpeg."_s
            << u"No manual subtitles listed — auto captions available (enable “Include auto-generated”)."_s;
        QTest::newRow("nothing") << video({480}) << u"Best Quality"_s << u"Up to 480p · 2 formats"_s
                                 << u"Highest quality video and audio, merged by FFmpeg."_s
                                 << u"No manual subtitles listed."_s;
    }

    void summary()
    {
        QFETCH(QJsonObject, json);
        QFETCH(QString, preset);
        QFETCH(QString, formatsLine);
        QFETCH(QString, hint);
        QFETCH(QString, note);

        const MediaInfo info = FormatManager::parse(json, u"https://media.example/v"_s);
        QCOMPARE(MediaSummary::formatsLine(info), formatsLine);
        QCOMPARE(MediaSummary::presetHint(info, *Presets::fromRawValue(preset)), hint);
        QCOMPARE(MediaSummary::subtitleNote(info), note);
    }

    // Each preset shows its own row and, except "Advanced", becomes the default one.
    void presets_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("audioRow");
        QTest::addColumn<bool>("advancedPickers");
        QTest::addColumn<bool>("embedSubs");
        QTest::addColumn<QString>("defaultPreset");

        QTest::newRow("4K") << 1 << false << false << true << u"4K"_s;
        QTest::newRow("720p") << 3 << false << false << true << u"720p"_s;
        QTest::newRow("Audio Only") << 4 << true << false << false << u"Audio Only"_s;
        QTest::newRow("Advanced") << 5 << false << true << true << u"1080p"_s;
    }

    void presets()
    {
        QFETCH(int, index);
        QFETCH(bool, audioRow);
        QFETCH(bool, advancedPickers);
        QFETCH(bool, embedSubs);
        QFETCH(QString, defaultPreset);

        QVERIFY(m_rig->fetchCanned(fixture("video.json")));
        SettingsStore::set(u"defaultPreset"_s, u"1080p"_s);
        SettingsStore::set(u"writeSubs"_s, true);
        form().choosePreset(index);
        QCOMPARE(form().presetIndex(), index);
        QCOMPARE(form().audioOnly(), audioRow);
        QCOMPARE(form().advanced(), advancedPickers);
        QCOMPARE(form().embedSubsShown(), embedSubs);
        QVERIFY(form().subtitleOptionsShown());
        QCOMPARE(SettingsStore::string(u"defaultPreset"_s), defaultPreset);
    }

    void presetPickedElsewhereWhileHiddenStaysOut()
    {
        QVERIFY(m_rig->fetchCanned(fixture("video.json")));
        m_screen->setShown(false);
        state().setPreset(Preset::Hd720);
        QCOMPARE(SettingsStore::string(u"defaultPreset"_s), u"Best Quality"_s);
    }

    void header()
    {
        QVERIFY(m_rig->fetchCanned(fixture("video.json")));
        QCOMPARE(form().lengthLine(), u"3:56"_s);
        QCOMPARE(form().formatsLine(), u"Up to 1080p · 10 formats"_s);
        QCOMPARE(form().enqueueText(), u"Add to Queue"_s);
        QVERIFY(!form().isPlaylist());
    }

    void advancedPickers()
    {
        QVERIFY(m_rig->fetchCanned(fixture("video.json")));
        const MediaInfo &info = *state().info();
        QStringList video{u"Automatic (best)"_s};
        for (const FormatInfo &format : info.videoFormats())
            video.append(format.label());
        QStringList audio{u"Automatic (best)"_s, u"No audio"_s};
        for (const FormatInfo &format : info.audioFormats())
            audio.append(format.label());
        QCOMPARE(texts(form().videoOptions()), video);
        QCOMPARE(texts(form().audioOptions()), audio);
        QCOMPARE(form().videoIndex(), 0);
        QCOMPARE(form().audioIndex(), 0);

        form().chooseVideo(1);
        form().chooseAudio(1);
        QCOMPARE(state().videoFormatID(), info.videoFormats().constFirst().id);
        QCOMPARE(state().audioFormatID(), u"none"_s);
        QCOMPARE(form().videoIndex(), 1);
        QCOMPARE(form().audioIndex(), 1);
        form().chooseVideo(99);
        QCOMPARE(form().videoIndex(), 1);
    }

    // Every control writes at once, and a form made later (or the settings window) reads it back.
    void settingsWrittenAtOnce_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");

        QTest::newRow("embed thumbnail") << "embedThumbnail"_ba << u"embedThumbnail"_s << QVariant(false);
        QTest::newRow("embed metadata") << "embedMetadata"_ba << u"embedMetadata"_s << QVariant(false);
        QTest::newRow("subtitles") << "writeSubs"_ba << u"writeSubs"_s << QVariant(true);
        QTest::newRow("auto-generated") << "autoSubs"_ba << u"autoSubs"_s << QVariant(true);
        QTest::newRow("embed in video") << "embedSubs"_ba << u"embedSubs"_s << QVariant(true);
        QTest::newRow("languages") << "subLangs"_ba << u"subLangs"_s << QVariant(u"de,fr.*"_s);
    }

    void settingsWrittenAtOnce()
    {
        QFETCH(QByteArray, property);
        QFETCH(QString, key);
        QFETCH(QVariant, value);

        auto *setting = form().settings()->property(property.constData()).value<Setting *>();
        QVERIFY(setting);
        QVERIFY(setting->value() != value);
        setting->setValue(value);
        QCOMPARE(SettingsStore::value(key), value);
        DownloadSettings later;
        QCOMPARE(later.property(property.constData()).value<Setting *>()->value(), value);
    }

    void pickersShowUpperCaseAndStoreLowerCase()
    {
        SettingPicker *audio = form().settings()->audioFormat();
        SettingPicker *container = form().settings()->container();
        QCOMPARE(audio->options().at(3).toMap().value(u"text"_s), u"FLAC"_s);
        audio->activate(3);
        container->activate(2);
        QCOMPARE(SettingsStore::string(u"audioFormat"_s), u"flac"_s);
        QCOMPARE(SettingsStore::string(u"mergeContainer"_s), u"webm"_s);
        QCOMPARE(container->currentIndex(), 2);
    }

    void folderShowsTheRegisteredDefault()
    {
        QVERIFY(!form().settings()->folder()->value().toString().isEmpty());
        QCOMPARE(form().settings()->folder()->value().toString(), SettingsStore::string(u"downloadFolder"_s));
    }

    void entries()
    {
        QJsonArray items;
        for (int i = 1; i <= 30; ++i)
            items.append(QJsonObject{{u"title"_s, u"Track %1"_s.arg(i)}, {u"duration"_s, 120 + i}});
        QVERIFY(m_rig->fetchCanned(FakeYtDlp::listing(items, u"Thirty"_s)));
        PlaylistEntryModel *entries = form().entries();
        QAbstractItemModelTester tester(entries, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(entries->rowCount(), 30);
        const QModelIndex second = entries->index(1);
        QCOMPARE(second.data(PlaylistEntryModel::NumberRole), u"2."_s);
        QCOMPARE(second.data(PlaylistEntryModel::TitleRole), u"Track 2"_s);
        QCOMPARE(second.data(PlaylistEntryModel::DurationRole), u"2:02"_s);
        QCOMPARE(second.data(PlaylistEntryModel::CheckedRole), true);
        QCOMPARE(form().lengthLine(), u"Playlist · 30 items"_s);
        QCOMPARE(form().formatsLine(), QString());

        const auto counts = [this] { return QStringList{form().selectionText(), form().enqueueText()}; };
        QCOMPARE(counts(), (QStringList{u"30 of 30 selected"_s, u"Download 30 Items"_s}));
        entries->setChecked(1, false);
        QCOMPARE(second.data(PlaylistEntryModel::CheckedRole), false);
        QCOMPARE(counts(), (QStringList{u"29 of 30 selected"_s, u"Download 29 Items"_s}));
        entries->selectNone();
        QCOMPARE(counts(), (QStringList{u"0 of 30 selected"_s, u"Download 0 Items"_s}));
        entries->setChecked(29, true);
        QCOMPARE(state().selectedItems(), QSet<int>{30});
        QCOMPARE(counts(), (QStringList{u"1 of 30 selected"_s, u"Download 1 Items"_s}));
        entries->selectAll();
        QCOMPARE(counts(), (QStringList{u"30 of 30 selected"_s, u"Download 30 Items"_s}));

        state().info_reset();
        QCOMPARE(entries->rowCount(), 0);
    }
};

QTEST_MAIN(TestDownloadForm)
#include "tst_downloadform.moc"
