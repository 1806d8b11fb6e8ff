#include "FakeAudioBackend.h"
#include "platform/MpvAudio.h"
#include "ui/music/OutputListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

namespace {

QStringList rows(const OutputListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        result.append(index.data(OutputListModel::NameRole).toString() + QLatin1Char('=') +
                      index.data(OutputListModel::DescriptionRole).toString() +
                      (index.data(OutputListModel::InUseRole).toBool() ? QStringLiteral(" ✓") : QString()));
    }
    return result;
}

} // namespace

// The output picker's list over libmpv's null output and over the fake back end.
class TestAudioOutputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qputenv("MORVANE_AO", "null"); }

    void mpvListsItsOutputsAndTakesAListedChoice()
    {
        MpvAudio audio;
        OutputListModel model(audio);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        // The player starts on first use: before that there is nothing to list.
        QCOMPARE(model.rowCount(), 0);
        model.listOutputs();
        const auto hasAlsa = [&audio] {
            const QList<AudioOutput> outputs = audio.outputs();
            return std::any_of(outputs.begin(), outputs.end(),
                               [](const AudioOutput &output) { return output.name == QLatin1String("alsa"); });
        };
        QTRY_VERIFY(hasAlsa());
        QTRY_COMPARE(audio.output(), QStringLiteral("auto"));
        QCOMPARE(rows(model).value(0), QStringLiteral("auto=Autoselect device ✓"));

        model.choose(QStringLiteral("alsa"));
        QTRY_COMPARE(audio.output(), QStringLiteral("alsa"));
        QTRY_VERIFY(!model.index(0).data(OutputListModel::InUseRole).toBool());
        const QStringList shown = rows(model);
        QVERIFY(std::any_of(shown.begin(), shown.end(), [](const QString &row) {
            return row.startsWith(QLatin1String("alsa=")) && row.endsWith(QStringLiteral(" ✓"));
        }));

        // mpv would take this name and then play nowhere.
        model.choose(QStringLiteral("no-such-device"));
        QTest::qWait(100);
        QCOMPARE(audio.output(), QStringLiteral("alsa"));
    }

    void fakeListChangesReachTheModel()
    {
        FakeAudioBackend audio;
        OutputListModel model(audio);
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(rows(model),
                 (QStringList{QStringLiteral("auto=Autoselect device ✓"), QStringLiteral("pulse/speakers=Speakers")}));
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.choose(QStringLiteral("pulse/speakers"));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(rows(model),
                 (QStringList{QStringLiteral("auto=Autoselect device"), QStringLiteral("pulse/speakers=Speakers ✓")}));
        audio.offerOutputs({{QStringLiteral("auto"), QStringLiteral("Autoselect device")},
                            {QStringLiteral("pulse/speakers"), QStringLiteral("Speakers")},
                            {QStringLiteral("pulse/headset"), QStringLiteral("Headset")}});
        QCOMPARE(rows(model).size(), 3);
        QCOMPARE(rows(model).last(), QStringLiteral("pulse/headset=Headset"));
    }
};

QTEST_MAIN(TestAudioOutputs)
#include "tst_audiooutputs.moc"
