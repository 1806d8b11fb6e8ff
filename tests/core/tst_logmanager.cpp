#include "TestEnvironment.h"
#include "core/AppPaths.h"
#include "core/LogManager.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <thread>
#include <vector>

class TestLogManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void subCreatesIntermediateFolders()
    {
        TestEnvironment env;
        const QString path = AppPaths::sub(QStringLiteral("Cache/yt-dlp"));
        QVERIFY(QDir(AppPaths::support() + QStringLiteral("/Cache")).exists());
        QVERIFY(QDir(path).exists());
        QCOMPARE(path, env.root() + QStringLiteral("/data/Morvane/Cache/yt-dlp"));
    }

    void appendWritesStampedLines()
    {
        TestEnvironment env;
        const QUuid id = QUuid::createUuid();
        QCOMPARE(LogManager::read(id), QStringLiteral("No log yet."));

        LogManager::append(QStringLiteral("first"), LogManager::taskLogPath(id));
        LogManager::append(QStringLiteral("second line\nwith a break"), LogManager::taskLogPath(id));
        const QString text = LogManager::read(id);

        const QStringList lines = text.split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 4); // three lines and the empty rest after the last LF
        static const QRegularExpression stamped(
            QStringLiteral("^\\[\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\\] first$"));
        QVERIFY2(stamped.match(lines[0]).hasMatch(), qPrintable(lines[0]));
        QVERIFY(lines[1].endsWith(QStringLiteral("] second line")));
        QCOMPARE(lines[2], QStringLiteral("with a break"));
        QVERIFY(text.endsWith(QStringLiteral("with a break\n")));
    }

    void appendLinesStampsEachLine()
    {
        TestEnvironment env;
        const QUuid id = QUuid::createUuid();
        LogManager::appendLines({}, LogManager::taskLogPath(id));
        QCOMPARE(LogManager::read(id), QStringLiteral("No log yet."));

        LogManager::append(QStringLiteral("before"), LogManager::taskLogPath(id));
        LogManager::appendLines({QStringLiteral("one"), QStringLiteral("[stderr] two")}, LogManager::taskLogPath(id));
        const QStringList lines = LogManager::read(id).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        static const QRegularExpression stamped(
            QStringLiteral("^\\[\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\\] (.*)$"));
        QStringList texts;
        for (const QString &line : lines) {
            const auto match = stamped.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            texts.append(match.captured(1));
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("before"), QStringLiteral("one"), QStringLiteral("[stderr] two")}));
    }

    void taskLogNameIsUpperCaseUuid()
    {
        TestEnvironment env;
        const QUuid id = QUuid::fromString(QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e"));
        QCOMPARE(QFileInfo(LogManager::taskLogPath(id)).fileName(),
                 QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E.log"));
    }

    void concurrentAppendsKeepWholeLinesInOrder()
    {
        TestEnvironment env;
        const QUuid id = QUuid::createUuid();
        const QString path = LogManager::taskLogPath(id);
        constexpr int threads = 8, perThread = 1000;
        std::vector<std::thread> writers;
        for (int t = 0; t < threads; ++t) {
            writers.emplace_back([t, path] {
                for (int i = 0; i < perThread; ++i)
                    LogManager::append(QStringLiteral("t%1 n%2").arg(t).arg(i), path);
            });
        }
        for (auto &writer : writers)
            writer.join();

        const QStringList lines = LogManager::read(id).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), threads * perThread);
        static const QRegularExpression shape(QStringLiteral("^\\[[^\\]]+\\] t(\\d) n(\\d+)$"));
        int next[threads] = {};
        for (const QString &line : lines) {
            const auto match = shape.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            const int t = match.captured(1).toInt();
            QCOMPARE(match.captured(2).toInt(), next[t]++);
        }
    }

    void removeDeletesAndToleratesMissing()
    {
        TestEnvironment env;
        const QUuid id = QUuid::createUuid();
        LogManager::remove(id); // nothing there: no error
        LogManager::append(QStringLiteral("x"), LogManager::taskLogPath(id));
        LogManager::remove(id);
        QCOMPARE(LogManager::read(id), QStringLiteral("No log yet."));
        QVERIFY(!QFile::exists(LogManager::taskLogPath(id)));
    }
};

QTEST_GUILESS_MAIN(TestLogManager)
#include "tst_logmanager.moc"
