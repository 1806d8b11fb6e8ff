#include "TestEnvironment.h"
#include "core/DenoManager.h"
#include "core/EJSManager.h"
#include "core/FFmpegManager.h"
#include "core/SettingsStore.h"
#include "core/Tool.h"
#include "core/YTDLPManager.h"

#include <QCoroTask>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// A fake tool printing `count` extractor names with blank lines between them.
QByteArray extractorLister(int count)
{
    return "#!/bin/sh\nfor i in $(seq " + QByteArray::number(count) + "); do echo \"Extractor$i\"; echo; done\n";
}

} // namespace

// Readable failures for QCOMPARE.
char *toString(const ToolCheck &check)
{
    return QTest::toString(u"{%1, \"%2\"}"_s.arg(check.ok ? u"true"_s : u"false"_s, check.detail));
}

class TestSmokeTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ytdlpFromDebianPasses()
    {
        TestEnvironment env;
        env.installTool(u"yt-dlp"_s, u"/usr/bin/yt-dlp"_s);
        const ToolCheck check = QCoro::waitFor(YTDLPManager::smokeTest());
        const QRegularExpressionMatch match = QRegularExpression(u"^(\\d+) extractors loaded$"_s).match(check.detail);
        QVERIFY2(match.hasMatch(), qPrintable(check.detail));
        QVERIFY(match.captured(1).toInt() > 100);
        QVERIFY(check.ok);
    }

    void ytdlpNeedsMoreThanAHundredExtractors_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<ToolCheck>("expected");
        QTest::newRow("50") << extractorLister(50) << ToolCheck{false, u"50 extractors loaded"_s};
        QTest::newRow("100") << extractorLister(100) << ToolCheck{false, u"100 extractors loaded"_s};
        QTest::newRow("101") << extractorLister(101) << ToolCheck{true, u"101 extractors loaded"_s};
        QTest::newRow("failure shows standard error")
            << QByteArray("#!/bin/sh\necho Extractor\necho 'no such option' >&2\nexit 2\n")
            << ToolCheck{false, u"no such option\n"_s};
    }
    void ytdlpNeedsMoreThanAHundredExtractors()
    {
        QFETCH(QByteArray, script);
        QFETCH(ToolCheck, expected);
        TestEnvironment env;
        env.installScript(u"yt-dlp"_s, script);
        QCOMPARE(QCoro::waitFor(YTDLPManager::smokeTest()), expected);
    }

    void missingToolFailsToLaunch()
    {
        TestEnvironment env;
        const ToolCheck check = QCoro::waitFor(YTDLPManager::smokeTest());
        QVERIFY(!check.ok);
        QVERIFY2(check.detail.startsWith(u"Failed to launch yt-dlp: "_s), qPrintable(check.detail));
    }

    void ffmpegFromDebianEncodes()
    {
        TestEnvironment env;
        env.installTool(u"ffmpeg"_s, u"/usr/bin/ffmpeg"_s);
        QCOMPARE(QCoro::waitFor(FFmpegManager::smokeTest()), (ToolCheck{true, u"Encoded test audio"_s}));

        // A build without the lavfi input cannot run the test.
        env.installScript(u"ffmpeg"_s, "#!/bin/sh\necho 'Unknown input format: lavfi' >&2\nexit 1\n");
        QCOMPARE(QCoro::waitFor(FFmpegManager::smokeTest()), (ToolCheck{false, u"Unknown input format: lavfi\n"_s}));
    }

    void denoJudgedByItsOutput_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<ToolCheck>("expected");
        QTest::newRow("42 and a failing status")
            << QByteArray("#!/bin/sh\n[ \"$1 $2\" = 'eval console.log(21*2)' ] && echo 42\necho late >&2\nexit 1\n")
            << ToolCheck{true, u"late\n"_s};
        QTest::newRow("wrong answer") << QByteArray("#!/bin/sh\necho 41\n") << ToolCheck{false, u"Evaluated JS"_s};
        QTest::newRow("answer among other output")
            << QByteArray("#!/bin/sh\necho 'Download https://deno.land/x'\necho 42\n")
            << ToolCheck{false, u"Evaluated JS"_s};
        QTest::newRow("surrounding blanks")
            << QByteArray("#!/bin/sh\nprintf '\\n  42\\t\\r\\n'\n") << ToolCheck{true, u"Evaluated JS"_s};
    }
    void denoJudgedByItsOutput()
    {
        QFETCH(QByteArray, script);
        QFETCH(ToolCheck, expected);
        TestEnvironment env;
        env.installScript(u"deno"_s, script);
        QCOMPARE(QCoro::waitFor(DenoManager::smokeTest()), expected);
    }

    void realDenoEvaluates()
    {
        const QString deno = qEnvironmentVariable("MORVANE_TEST_DENO");
        if (deno.isEmpty() || !QFileInfo(deno).isExecutable())
            QSKIP("no real Deno: MORVANE_TEST_DENO is unset (scripts/setup fetches it from npm on x86_64)");
        TestEnvironment env;
        // A link: the binary is large, and the check only needs to run it.
        QVERIFY(QFile::link(deno, Tools::path(Tool::Deno)));
        QCOMPARE(QCoro::waitFor(DenoManager::smokeTest()), (ToolCheck{true, u"Evaluated JS"_s}));
    }

    void ejsWithoutAnExecutableYtdlp()
    {
        TestEnvironment env;
        const ToolCheck missing{false, u"yt-dlp not installed"_s};
        QCOMPARE(QCoro::waitFor(EJSManager::status()), missing);
        QFile file(Tools::path(Tool::Ytdlp));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho '[debug] EJS' >&2\n");
        file.close();
        QCOMPARE(QCoro::waitFor(EJSManager::status()), missing);
    }

    void ejsFoundInVerboseOutput_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("detail");
        QTest::newRow("debug line on standard error")
            << QByteArray("#!/bin/sh\necho Youtube\necho '[debug] Found EJS scripts' >&2\n")
            << u"Bundled — Found EJS scripts"_s;
        QTest::newRow("every prefix removed, blanks trimmed, case kept")
            << QByteArray("#!/bin/sh\nprintf ' \\t[debug] [debug] yt-dlp-Ejs 0.3.1\\t \\n[debug] ejs second\\n'\n")
            << u"Bundled — yt-dlp-Ejs 0.3.1"_s;
        QTest::newRow("standard output comes first")
            << QByteArray("#!/bin/sh\necho '[debug] ejs from stderr' >&2\necho 'ejs from stdout'\n")
            << u"Bundled — ejs from stdout"_s;
        QTest::newRow("prefix matched case-sensitively")
            << QByteArray("#!/bin/sh\necho '[DEBUG] EJS 1'\n") << u"Bundled — [DEBUG] EJS 1"_s;
    }
    void ejsFoundInVerboseOutput()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, detail);
        TestEnvironment env;
        SettingsStore::set(u"remoteEJS"_s, false);
        env.installScript(u"yt-dlp"_s, script);
        QCOMPARE(QCoro::waitFor(EJSManager::status()), (ToolCheck{true, detail}));
    }

    // Debian's yt-dlp predates the scripts, so only the setting decides.
    void ejsMissingFromDebianYtdlp()
    {
        TestEnvironment env;
        env.installTool(u"yt-dlp"_s, u"/usr/bin/yt-dlp"_s);
        SettingsStore::set(u"remoteEJS"_s, false);
        QCOMPARE(QCoro::waitFor(EJSManager::status()),
                 (ToolCheck{false, u"Not found. Enable remote components in Settings › Tools."_s}));
        SettingsStore::set(u"remoteEJS"_s, true);
        QCOMPARE(QCoro::waitFor(EJSManager::status()),
                 (ToolCheck{true, u"Fetched on demand from GitHub by yt-dlp (remote components enabled)"_s}));
    }
};

QTEST_GUILESS_MAIN(TestSmokeTests)
#include "tst_smoketests.moc"
