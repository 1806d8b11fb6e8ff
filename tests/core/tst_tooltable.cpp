#include "TestEnvironment.h"
#include "core/AppPaths.h"
#include "core/DenoManager.h"
#include "core/FFmpegManager.h"
#include "core/Tool.h"
#include "core/ToolMirror.h"
#include "core/YTDLPManager.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

namespace {

// Sets MORVANE_TOOL_MIRROR for one scope.
class MirrorScope
{
public:
    explicit MirrorScope(const QByteArray &value) { qputenv("MORVANE_TOOL_MIRROR", value); }
    ~MirrorScope() { qunsetenv("MORVANE_TOOL_MIRROR"); }
};

QList<QUrl> urls(std::initializer_list<QString> texts)
{
    QList<QUrl> result;
    for (const QString &text : texts)
        result.append(QUrl(text));
    return result;
}

const QStringList dashVersion{u"--version"_s};
const QStringList singleDashVersion{u"-version"_s};

} // namespace

class TestToolTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rawValuesAndOrder()
    {
        QCOMPARE(Tools::all(), (QList<Tool>{Tool::Ytdlp, Tool::Ffmpeg, Tool::Ffprobe, Tool::Deno, Tool::Ejs}));
        QStringList names;
        for (const Tool tool : Tools::all()) {
            names.append(Tools::rawValue(tool));
            QCOMPARE(Tools::fromRawValue(Tools::rawValue(tool)), tool);
        }
        QCOMPARE(names, (QStringList{u"yt-dlp"_s, u"FFmpeg"_s, u"ffprobe"_s, u"Deno"_s, u"yt-dlp-ejs"_s}));
        for (const QString &other : {u"ffmpeg"_s, u"deno"_s, u"YT-DLP"_s, u""_s, u"yt-dlp "_s})
            QCOMPARE(Tools::fromRawValue(other), std::nullopt);
    }

    void pathsLieInTheToolsFolder()
    {
        TestEnvironment env;
        const QString tools = AppPaths::support() + u"/Tools"_s;
        QCOMPARE(Tools::path(Tool::Ytdlp), tools + u"/yt-dlp"_s);
        QCOMPARE(Tools::path(Tool::Ffmpeg), tools + u"/ffmpeg"_s);
        QCOMPARE(Tools::path(Tool::Ffprobe), tools + u"/ffprobe"_s);
        QCOMPARE(Tools::path(Tool::Deno), tools + u"/deno"_s);
        QCOMPARE(Tools::path(Tool::Ejs), tools);
    }

    void architectureNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<CpuArch>("arch");
        QTest::newRow("arm64") << u"arm64"_s << CpuArch::Arm64;
        QTest::newRow("x86_64") << u"x86_64"_s << CpuArch::X86_64;
        QTest::newRow("i386 counts as x86_64") << u"i386"_s << CpuArch::X86_64;
        QTest::newRow("unknown counts as x86_64") << u"riscv64"_s << CpuArch::X86_64;
    }
    void architectureNames()
    {
        QFETCH(QString, name);
        QFETCH(CpuArch, arch);
        QCOMPARE(CpuArchs::fromName(name), arch);
    }

    void specsPerArchitecture_data()
    {
        QTest::addColumn<CpuArch>("arch");
        QTest::addColumn<QList<ToolSpec>>("specs"); // yt-dlp, FFmpeg, ffprobe, Deno
        const QString btbn = u"https://github.com/BtbN/FFmpeg-Builds/releases/download/latest/"_s;
        const QString static_ = u"https://johnvansickle.com/ffmpeg/releases/"_s;
        const QList<QUrl> ffmpegX86 = urls(
            {btbn + u"ffmpeg-master-latest-linux64-gpl.tar.xz"_s, static_ + u"ffmpeg-release-amd64-static.tar.xz"_s});
        const QList<QUrl> ffmpegArm = urls({btbn + u"ffmpeg-master-latest-linuxarm64-gpl.tar.xz"_s,
                                            static_ + u"ffmpeg-release-arm64-static.tar.xz"_s});
        QTest::newRow("x86_64")
            << CpuArch::X86_64
            << QList<ToolSpec>{
                   {Tool::Ytdlp, urls({u"https://github.com/yt-dlp/yt-dlp/releases/latest/download/yt-dlp_linux"_s}),
                    ArchiveKind::None, dashVersion},
                   {Tool::Ffmpeg, ffmpegX86, ArchiveKind::TarXz, singleDashVersion},
                   {Tool::Ffprobe, ffmpegX86, ArchiveKind::TarXz, singleDashVersion},
                   {Tool::Deno,
                    urls(
                        {u"https://github.com/denoland/deno/releases/latest/download/deno-x86_64-unknown-linux-gnu.zip"_s}),
                    ArchiveKind::Zip, dashVersion}};
        QTest::newRow("arm64")
            << CpuArch::Arm64
            << QList<ToolSpec>{
                   {Tool::Ytdlp,
                    urls({u"https://github.com/yt-dlp/yt-dlp/releases/latest/download/yt-dlp_linux_aarch64"_s}),
                    ArchiveKind::None, dashVersion},
                   {Tool::Ffmpeg, ffmpegArm, ArchiveKind::TarXz, singleDashVersion},
                   {Tool::Ffprobe, ffmpegArm, ArchiveKind::TarXz, singleDashVersion},
                   {Tool::Deno,
                    urls(
                        {u"https://github.com/denoland/deno/releases/latest/download/deno-aarch64-unknown-linux-gnu.zip"_s}),
                    ArchiveKind::Zip, dashVersion}};
    }
    void specsPerArchitecture()
    {
        QFETCH(CpuArch, arch);
        QFETCH(QList<ToolSpec>, specs);
        const QList<ToolSpec> actual{YTDLPManager::spec(arch), FFmpegManager::spec(Tool::Ffmpeg, arch),
                                     FFmpegManager::spec(Tool::Ffprobe, arch), DenoManager::spec(arch)};
        for (qsizetype i = 0; i < specs.size(); ++i) {
            QCOMPARE(actual[i].tool, specs[i].tool);
            QCOMPARE(actual[i].urls, specs[i].urls);
            QCOMPARE(actual[i].archive, specs[i].archive);
            QCOMPARE(actual[i].versionArgs, specs[i].versionArgs);
        }
        QCOMPARE(YTDLPManager::spec(), YTDLPManager::spec(CpuArchs::host()));
    }

    void latestReleaseEndpoints()
    {
        QCOMPARE(YTDLPManager::latestAPI(), QUrl(u"https://api.github.com/repos/yt-dlp/yt-dlp/releases/latest"_s));
        QCOMPARE(DenoManager::latestAPI(), QUrl(u"https://api.github.com/repos/denoland/deno/releases/latest"_s));
    }

    void mirrorRewrites_data()
    {
        QTest::addColumn<QByteArray>("mirror");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("expected");
        const QString asset = u"https://github.com/yt-dlp/yt-dlp/releases/latest/download/yt-dlp_linux"_s;
        QTest::newRow("no mirror") << QByteArray() << asset << asset;
        QTest::newRow("host and scheme replaced")
            << QByteArray("http://127.0.0.1:8080") << asset
            << u"http://127.0.0.1:8080/yt-dlp/yt-dlp/releases/latest/download/yt-dlp_linux"_s;
        QTest::newRow("port and query") << QByteArray("http://127.0.0.1:8080/")
                                        << u"https://cdn.example.org:8443/a/b%2Bc?x=1&y=2"_s
                                        << u"http://127.0.0.1:8080/a/b%2Bc?x=1&y=2"_s;
        QTest::newRow("mirror path goes first")
            << QByteArray("https://mirror.example/tools/") << u"https://api.github.com/repos/o/r/releases/latest"_s
            << u"https://mirror.example/tools/repos/o/r/releases/latest"_s;
        QTest::newRow("already mirrored")
            << QByteArray("https://mirror.example/tools") << u"https://mirror.example/tools/a.zip"_s
            << u"https://mirror.example/tools/a.zip"_s;
        QTest::newRow("unusable mirror ignored") << QByteArray("not a url") << asset << asset;
    }
    void mirrorRewrites()
    {
        QFETCH(QByteArray, mirror);
        QFETCH(QString, url);
        QFETCH(QString, expected);
        MirrorScope scope(mirror);
        const QUrl result = ToolMirror::apply(QUrl(url));
        QCOMPARE(result.toString(QUrl::FullyEncoded), expected);
        QCOMPARE(ToolMirror::apply(result), result);
    }

    void everyHostGoesThroughTheMirror()
    {
        MirrorScope scope("http://127.0.0.1:9");
        QList<QUrl> all{YTDLPManager::latestAPI(), DenoManager::latestAPI()};
        for (const CpuArch arch : {CpuArch::X86_64, CpuArch::Arm64}) {
            all += YTDLPManager::spec(arch).urls;
            all += DenoManager::spec(arch).urls;
            all += FFmpegManager::spec(Tool::Ffmpeg, arch).urls;
            all += FFmpegManager::spec(Tool::Ffprobe, arch).urls;
        }
        QCOMPARE(all.size(), 14);
        for (const QUrl &url : all)
            QVERIFY2(url.toString().startsWith(u"http://127.0.0.1:9/"_s), qPrintable(url.toString()));
        QCOMPARE(FFmpegManager::spec(Tool::Ffprobe, CpuArch::Arm64).urls[1].path(),
                 u"/ffmpeg/releases/ffmpeg-release-arm64-static.tar.xz"_s);
    }
};

QTEST_APPLESS_MAIN(TestToolTable)
#include "tst_tooltable.moc"
