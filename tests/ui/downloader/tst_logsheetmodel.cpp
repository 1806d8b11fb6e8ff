#include "RecordingDesktopServices.h"
#include "TestEnvironment.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "ui/downloader/LogSheetModel.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::Literals::StringLiterals;

// The task log sheet over real log files: reads on the log thread, the tail of a long log, and
// answers that arrive too late.
namespace {

const QString noLog = QStringLiteral("No log yet.");
const QString cutNote = QStringLiteral("\u2026 earlier lines are left out; Reveal File shows the whole log.");

void writeLog(const QUuid &id, const QByteArray &bytes)
{
    QFile file(LogManager::taskLogPath(id));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Lines "line 1 xxxx…" up to `size` bytes; the last line is whole.
QByteArray numberedLines(qint64 size)
{
    QByteArray bytes;
    for (int line = 1; bytes.size() < size; ++line)
        bytes += "line " + QByteArray::number(line) + ' ' + QByteArray(60, 'x') + '\n';
    return bytes;
}

// Each block's part of the selection.
using Parts = QList<QPair<int, int>>;

// Lines "line N xxx" from `first` to `last`, joined by line ends.
QString blockText(int first, int last)
{
    QStringList lines;
    for (int line = first; line <= last; ++line)
        lines.append(QStringLiteral("line %1 xxx").arg(line));
    return lines.join(QLatin1Char('\n'));
}

// Waits until every log job queued so far has run and its answer has come back.
void drainLog(const QUuid &id)
{
    (void)LogManager::read(id);
    QCoreApplication::processEvents();
    QTest::qWait(20);
}

} // namespace

class TestLogSheetModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;

private Q_SLOTS:
    void init() { m_env = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_env.reset(); }

    void showsTheLogAndRefreshesOnRequest()
    {
        RecordingDesktopServices desktop;
        LogSheetModel sheet(&desktop);
        QAbstractItemModelTester tester(&sheet);
        const QUuid id = QUuid::createUuid();
        LogManager::append(QStringLiteral("\u2014\u2014 start \u2014\u2014"), LogManager::taskLogPath(id));
        LogManager::append(QStringLiteral("$ yt-dlp --ignore-config"), LogManager::taskLogPath(id));

        sheet.open(Json::uuidText(id));
        QTRY_VERIFY(sheet.text().contains(QLatin1String("$ yt-dlp --ignore-config")));
        QVERIFY(!sheet.loading());
        QVERIFY(sheet.text().contains(QStringLiteral("\u2014\u2014 start \u2014\u2014")));
        QCOMPARE(sheet.rowCount(), 1);

        LogManager::append(QStringLiteral("[download] 100%"), LogManager::taskLogPath(id));
        drainLog(id);
        QVERIFY(!sheet.text().contains(QLatin1String("[download] 100%"))); // no automatic refresh
        sheet.refresh();
        QTRY_VERIFY(sheet.text().contains(QLatin1String("[download] 100%")));

        QVERIFY(QFile::remove(LogManager::taskLogPath(id)));
        sheet.refresh();
        QTRY_COMPARE(sheet.text(), noLog);

        sheet.copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), noLog);
        sheet.revealFile();
        QCOMPARE(desktop.revealed, QStringList{LogManager::taskLogPath(id)});
        QVERIFY(
            desktop.revealed.first().endsWith(id.toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".log")));
    }

    void aTaskThatNeverLoggedReadsNoLogYet()
    {
        RecordingDesktopServices desktop;
        LogSheetModel sheet(&desktop);
        sheet.open(Json::uuidText(QUuid::createUuid()));
        QTRY_COMPARE(sheet.text(), noLog);
        QCOMPARE(sheet.rowCount(), 1);
    }

    void longLogShowsItsTailUnderTheNote()
    {
        RecordingDesktopServices desktop;
        LogSheetModel sheet(&desktop);
        QAbstractItemModelTester tester(&sheet);
        const QUuid id = QUuid::createUuid();
        const QByteArray whole = numberedLines(3'000'000);
        writeLog(id, whole);

        sheet.open(Json::uuidText(id));
        QTRY_VERIFY(!sheet.text().isEmpty());
        const QString text = sheet.text();
        QVERIFY(text.startsWith(cutNote + QLatin1Char('\n')));
        const QString tail = text.mid(cutNote.size() + 1);
        QVERIFY(tail.size() <= LogSheetModel::maxBytes);
        QVERIFY(tail.size() > LogSheetModel::maxBytes - 100); // cut forward by less than a line
        QVERIFY(tail.startsWith(QLatin1String("line ")));
        QVERIFY(whole.endsWith(tail.toUtf8()));
        QVERIFY(whole.contains('\n' + tail.left(80).toUtf8()));

        // The view gets blocks of lines that together are the text shown.
        QStringList blocks;
        for (int row = 0; row < sheet.rowCount(); ++row)
            blocks.append(sheet.data(sheet.index(row), LogSheetModel::TextRole).toString());
        QCOMPARE(blocks.join(QLatin1Char('\n')) + QLatin1Char('\n'), text);
        QCOMPARE(sheet.rowCount(),
                 (text.count(QLatin1Char('\n')) + LogSheetModel::linesPerBlock - 1) / LogSheetModel::linesPerBlock);

        sheet.copy();
        QCOMPARE(QGuiApplication::clipboard()->text(), text);
    }

    void tailStartsAtALineStart_data()
    {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<QString>("tail");
        QTest::addColumn<bool>("cut");

        QTest::newRow("fits") << QByteArray("one\ntwo\n") << qint64(8) << QStringLiteral("one\ntwo\n") << false;
        QTest::newRow("cut inside a line")
            << QByteArray("one\ntwo\nthree\n") << qint64(9) << QStringLiteral("three\n") << true;
        QTest::newRow("cut at a line start")
            << QByteArray("one\ntwo\nthree\n") << qint64(10) << QStringLiteral("two\nthree\n") << true;
        QTest::newRow("one long line, multi-byte characters")
            << QByteArray("\xc3\xa9\xc3\xa9\xc3\xa9") << qint64(3) << QStringLiteral("\u00e9") << true;
        QTest::newRow("empty") << QByteArray() << qint64(4) << QString() << false;
    }

    void tailStartsAtALineStart()
    {
        QFETCH(QByteArray, log);
        QFETCH(qint64, maxBytes);
        QFETCH(QString, tail);
        QFETCH(bool, cut);
        const QUuid id = QUuid::createUuid();
        writeLog(id, log);
        QFuture<LogManager::Tail> read = LogManager::readTail(id, maxBytes);
        read.waitForFinished();
        QCOMPARE(read.result().text, tail);
        QCOMPARE(read.result().cut, cut);
    }

    void answersOfEarlierReadsAreDropped()
    {
        RecordingDesktopServices desktop;
        LogSheetModel sheet(&desktop);
        const QUuid first = QUuid::createUuid();
        const QUuid second = QUuid::createUuid();
        writeLog(first, "first task\n");
        writeLog(second, "second task\n");
        QStringList shown;
        connect(&sheet, &LogSheetModel::textChanged, this, [&] { shown.append(sheet.text()); });

        // An answer for the first task that comes back after the sheet moved on to another is
        // dropped (one that was already there when the read began shows before the switch).
        sheet.open(Json::uuidText(first));
        sheet.open(Json::uuidText(second));
        QTRY_COMPARE(sheet.text(), QStringLiteral("second task\n"));
        drainLog(first);
        QCOMPARE(shown.mid(shown.lastIndexOf(QString()) + 1), QStringList{QStringLiteral("second task\n")});

        // A refresh overtaken by a newer one shows only the newer answer.
        writeLog(second, "second task, more\n");
        sheet.refresh();
        writeLog(second, "second task, most\n");
        sheet.refresh();
        QTRY_COMPARE(sheet.text(), QStringLiteral("second task, most\n"));

        // An answer after closing is dropped; the sheet opens again at once.
        sheet.close();
        QCOMPARE(sheet.taskId(), QString());
        sheet.open(Json::uuidText(first));
        sheet.close();
        drainLog(first);
        QCOMPARE(sheet.text(), QString());
        sheet.open(Json::uuidText(first));
        QTRY_COMPARE(sheet.text(), QStringLiteral("first task\n"));
        QCOMPARE(sheet.taskId(), Json::uuidText(first));
    }

    // A selection runs across blocks, each block showing its part; a press starts a new one and
    // a new text drops it.
    void selectionSpansBlocks_data()
    {
        QTest::addColumn<int>("anchorBlock");
        QTest::addColumn<int>("anchorAt");
        QTest::addColumn<int>("cursorBlock");
        QTest::addColumn<int>("cursorAt");
        QTest::addColumn<Parts>("parts"); // per block
        QTest::addColumn<QString>("selected");
        // Blocks of 25, 25 and 10 lines "line N xxx": 290, 299 and 119 characters.
        QTest::newRow("within one block") << 0 << 2 << 0 << 6 << Parts{{2, 6}, {0, 0}, {0, 0}} << u"ne 1"_s;
        QTest::newRow("over a whole block") << 0 << 289 << 2 << 7 << Parts{{289, 290}, {0, 299}, {0, 7}}
                                            << u"x\n"_s + blockText(26, 50) + u"\nline 51"_s;
        QTest::newRow("dragged backwards")
            << 1 << 3 << 0 << 285 << Parts{{285, 290}, {0, 3}, {0, 0}} << u"5 xxx\nlin"_s;
        QTest::newRow("clamped to the text")
            << -4 << -1 << 9 << 1000 << Parts{{0, 290}, {0, 299}, {0, 119}} << blockText(1, 60);
        QTest::newRow("a press alone selects nothing")
            << 1 << 4 << 1 << 4 << Parts{{4, 4}, {4, 4}, {4, 4}} << QString();
    }
    void selectionSpansBlocks()
    {
        QFETCH(int, anchorBlock);
        QFETCH(int, anchorAt);
        QFETCH(int, cursorBlock);
        QFETCH(int, cursorAt);
        QFETCH(Parts, parts);
        QFETCH(QString, selected);
        RecordingDesktopServices desktop;
        LogSheetModel sheet(&desktop);
        QAbstractItemModelTester tester(&sheet);
        const QUuid id = QUuid::createUuid();
        writeLog(id, (blockText(1, 60) + u'\n').toUtf8());
        sheet.open(Json::uuidText(id));
        QTRY_COMPARE(sheet.rowCount(), 3);

        sheet.press(0, 100);
        sheet.drag(2, 5); // an earlier selection, replaced by the next press
        QSignalSpy changed(&sheet, &QAbstractItemModel::dataChanged);
        sheet.press(anchorBlock, anchorAt);
        sheet.drag(cursorBlock, cursorAt);
        QVERIFY(!changed.isEmpty());
        Parts shown;
        for (int row = 0; row < sheet.rowCount(); ++row) {
            const QModelIndex block = sheet.index(row);
            shown.append({block.data(LogSheetModel::SelectedFromRole).toInt(),
                          block.data(LogSheetModel::SelectedToRole).toInt()});
        }
        // Blocks outside the selection only need an empty part.
        for (int row = 0; row < shown.size(); ++row) {
            if (parts[row].first == parts[row].second)
                QCOMPARE(shown[row].first, shown[row].second);
            else
                QCOMPARE(shown[row], parts[row]);
        }
        QCOMPARE(sheet.selectedText(), selected);

        QGuiApplication::clipboard()->setText(u"before"_s);
        sheet.copySelection();
        QCOMPARE(QGuiApplication::clipboard()->text(), selected.isEmpty() ? u"before"_s : selected);

        // Read again unchanged, the text keeps the selection; a changed one drops it.
        sheet.refresh();
        drainLog(id);
        QCOMPARE(sheet.selectedText(), selected);
        LogManager::append(u"more"_s, LogManager::taskLogPath(id));
        sheet.refresh();
        QTRY_VERIFY(sheet.text().endsWith(u"more\n"_s));
        QVERIFY(sheet.selectedText().isEmpty());
        sheet.press(0, 0);
        sheet.drag(0, 4);
        QCOMPARE(sheet.selectedText(), u"line"_s);
    }
};

QTEST_MAIN(TestLogSheetModel)
#include "tst_logsheetmodel.moc"
