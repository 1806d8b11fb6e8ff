#include "platform/ArchiveExtractor.h"

#include "TestArchive.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using ArchiveExtractor::Status;
using TestArchive::Format;
using Members = QList<TestArchive::Member>;

Q_DECLARE_METATYPE(Members)
Q_DECLARE_METATYPE(Format)
Q_DECLARE_METATYPE(Status)

class TestArchiveExtractor : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    ArchiveExtractor::Result extract(const QString &archive, const QString &name, qint64 cap = 1 << 20)
    {
        return QCoro::waitFor(ArchiveExtractor::extractMember(archive, name, path(QStringLiteral("out")), cap));
    }

    static void addFormats(const char *name, const Members &members, const QString &wanted, Status status,
                           const QByteArray &bytes = {})
    {
        for (const Format format : {Format::Zip, Format::TarXz}) {
            QTest::addRow("%s %s", name, format == Format::Zip ? "zip" : "tar.xz")
                << format << members << wanted << status << bytes;
        }
    }

private Q_SLOTS:
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
    }

    void takesOnlyTheWantedRegularFile_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<Members>("members");
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<Status>("status");
        QTest::addColumn<QByteArray>("bytes");
        using namespace TestArchive;
        const QString ffmpeg = QStringLiteral("ffmpeg");

        addFormats("in a sub-folder",
                   {directory(QStringLiteral("ffmpeg-7.1-linux64-gpl/")),
                    file(QStringLiteral("ffmpeg-7.1-linux64-gpl/LICENSE.txt"), "GPL"),
                    file(QStringLiteral("ffmpeg-7.1-linux64-gpl/bin/ffprobe"), "probe binary"),
                    file(QStringLiteral("ffmpeg-7.1-linux64-gpl/bin/ffmpeg"), "mpeg binary")},
                   ffmpeg, Status::Extracted, "mpeg binary");
        addFormats("at the top", {file(QStringLiteral("deno"), "deno binary")}, QStringLiteral("deno"),
                   Status::Extracted, "deno binary");
        addFormats("first match wins",
                   {file(QStringLiteral("a/ffmpeg"), "first"), file(QStringLiteral("b/ffmpeg"), "second")}, ffmpeg,
                   Status::Extracted, "first");
        addFormats("name must match exactly",
                   {file(QStringLiteral("bin/FFmpeg"), "wrong case"), file(QStringLiteral("bin/ffmpeg.exe"), "x"),
                    file(QStringLiteral("bin/ffmpeg-old"), "x")},
                   ffmpeg, Status::NotFound);
        addFormats("a folder of that name is no match",
                   {directory(QStringLiteral("ffmpeg/")), file(QStringLiteral("ffmpeg/README"), "docs")}, ffmpeg,
                   Status::NotFound);
        addFormats("a folder of that name, then the file",
                   {directory(QStringLiteral("ffmpeg/")), file(QStringLiteral("ffmpeg/bin/ffmpeg"), "binary")}, ffmpeg,
                   Status::Extracted, "binary");
        addFormats("a symlink is never taken", {symlink(QStringLiteral("bin/ffmpeg"), QStringLiteral("/bin/sh"))},
                   ffmpeg, Status::NotFound);
        addFormats("unsafe paths are skipped",
                   {file(QStringLiteral("../ffmpeg"), "escaped"), file(QStringLiteral("a/../../ffmpeg"), "escaped"),
                    file(QStringLiteral("/usr/bin/ffmpeg"), "absolute"), file(QStringLiteral("ok/ffmpeg"), "safe")},
                   ffmpeg, Status::Extracted, "safe");
        addFormats("empty member", {file(QStringLiteral("ffmpeg"), {})}, ffmpeg, Status::Extracted, "");
    }

    void takesOnlyTheWantedRegularFile()
    {
        QFETCH(Format, format);
        QFETCH(Members, members);
        QFETCH(QString, wanted);
        QFETCH(Status, status);
        QFETCH(QByteArray, bytes);
        const QString archive = path(QStringLiteral("download"));
        QVERIFY(TestArchive::write(archive, format, members));

        const auto result = extract(archive, wanted);
        QCOMPARE(result.status, status);
        QVERIFY(result.error.isEmpty());
        QStringList expected{QStringLiteral("download")};
        if (status == Status::Extracted) {
            expected.append(QStringLiteral("out"));
            QFile out(path(QStringLiteral("out")));
            QVERIFY(out.open(QIODevice::ReadOnly));
            QCOMPARE(out.readAll(), bytes);
        }
        // Nothing else was unpacked anywhere near the output.
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name),
                 expected);
        QVERIFY(!QFile::exists(QDir::cleanPath(m_dir.path() + QStringLiteral("/../ffmpeg"))));
    }

    void unreadableInputFails_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("garbage") << QByteArray("<html>this is not an archive</html>").repeated(50);
        QTest::newRow("empty") << QByteArray();
    }

    void unreadableInputFails()
    {
        QFETCH(QByteArray, content);
        QFile garbage(path(QStringLiteral("download")));
        QVERIFY(garbage.open(QIODevice::WriteOnly));
        garbage.write(content);
        garbage.close();
        const auto result = extract(garbage.fileName(), QStringLiteral("deno"));
        QCOMPARE(result.status, Status::Failed);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(!QFile::exists(path(QStringLiteral("out"))));
    }

    void missingArchiveFails()
    {
        const auto result = extract(path(QStringLiteral("nothing-here.zip")), QStringLiteral("deno"));
        QCOMPARE(result.status, Status::Failed);
        QVERIFY(!result.error.isEmpty());
    }

    void truncatedArchiveLeavesNoFile_data()
    {
        QTest::addColumn<Format>("format");
        QTest::newRow("zip") << Format::Zip;
        QTest::newRow("tar.xz") << Format::TarXz;
    }

    void truncatedArchiveLeavesNoFile()
    {
        QFETCH(Format, format);
        QByteArray big(400000, Qt::Uninitialized);
        for (int i = 0; i < big.size(); ++i)
            big[i] = static_cast<char>((i * 2654435761u) >> 24); // incompressible enough
        const QString archive = path(QStringLiteral("download"));
        QVERIFY(TestArchive::write(archive, format, {TestArchive::file(QStringLiteral("bin/ffmpeg"), big)}));
        QFile file(archive);
        QVERIFY(file.resize(file.size() / 2));

        const auto result = extract(archive, QStringLiteral("ffmpeg"));
        QCOMPARE(result.status, Status::Failed);
        QVERIFY(!result.error.isEmpty());
        QVERIFY(!QFile::exists(path(QStringLiteral("out"))));
    }

    void sizeCapStopsLargeMembers_data()
    {
        QTest::addColumn<Format>("format");
        QTest::addColumn<qint64>("cap");
        QTest::addColumn<Status>("status");
        QTest::newRow("zip at cap") << Format::Zip << qint64(1000) << Status::Extracted;
        QTest::newRow("zip over cap") << Format::Zip << qint64(999) << Status::Failed;
        QTest::newRow("tar.xz at cap") << Format::TarXz << qint64(1000) << Status::Extracted;
        QTest::newRow("tar.xz over cap") << Format::TarXz << qint64(999) << Status::Failed;
    }

    void sizeCapStopsLargeMembers()
    {
        QFETCH(Format, format);
        QFETCH(qint64, cap);
        QFETCH(Status, status);
        const QString archive = path(QStringLiteral("download"));
        QVERIFY(
            TestArchive::write(archive, format, {TestArchive::file(QStringLiteral("yt-dlp"), QByteArray(1000, 'x'))}));
        const auto result = extract(archive, QStringLiteral("yt-dlp"), cap);
        QCOMPARE(result.status, status);
        QCOMPARE(QFile::exists(path(QStringLiteral("out"))), status == Status::Extracted);
    }
};

QTEST_GUILESS_MAIN(TestArchiveExtractor)
#include "tst_archiveextractor.moc"
