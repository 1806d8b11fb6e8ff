#include "core/ErrorInterpreter.h"
#include "core/ProgressParser.h"
#include "core/YTDLPManager.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

// Random and mutated text through everything that reads yt-dlp output or user-typed arguments:
// nothing may crash (the sanitized build runs this too), and a few invariants must hold.
class TestOutputRobustness : public QObject
{
    Q_OBJECT

private:
    QStringList m_seeds;
    QRandomGenerator m_random{20261209};

    QChar randomChar()
    {
        static const char16_t pool[] = u"|||||MVPROGITEMFILEP0123456789.-+eNA \t\n\r\"'\\:[]/%日本語«»\u3000\u00a0";
        switch (m_random.bounded(8)) {
        case 0: return QChar(char16_t(m_random.bounded(0x20)));           // control characters
        case 1: return QChar(char16_t(0xd800 + m_random.bounded(0x800))); // lone surrogates
        case 2: return QChar(char16_t(m_random.bounded(0x10000)));
        default: return QChar(pool[m_random.bounded(int(std::size(pool)) - 1)]);
        }
    }

    QString randomLine()
    {
        QString line;
        const int length = m_random.bounded(80);
        for (int i = 0; i < length; ++i)
            line += randomChar();
        return line;
    }

    QString mutatedLine()
    {
        QString line = m_seeds.at(m_random.bounded(int(m_seeds.size())));
        const int edits = 1 + m_random.bounded(4);
        for (int i = 0; i < edits; ++i) {
            const int at = m_random.bounded(int(line.size()) + 1);
            switch (m_random.bounded(4)) {
            case 0: line.insert(at, randomChar()); break;
            case 1: line.remove(at, 1 + m_random.bounded(3)); break;
            case 2:
                if (at < line.size())
                    line[at] = randomChar();
                break;
            default: line.truncate(at);
            }
        }
        return line;
    }

    // Quotes arguments so that splitArguments must give them back unchanged.
    static QString quoted(const QStringList &arguments)
    {
        QStringList parts;
        for (QString argument : arguments)
            parts << QLatin1Char('\'') + argument.replace(QLatin1String("'"), QLatin1String("'\\''")) +
                         QLatin1Char('\'');
        return parts.join(QLatin1Char(' '));
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QDir fixtures(QStringLiteral(MORVANE_FIXTURES_DIR "/ytdlp-2026.08"));
        for (const QString &name : fixtures.entryList({QStringLiteral("*.stdout"), QStringLiteral("*.stderr")})) {
            QFile file(fixtures.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            m_seeds << QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
        m_seeds << QStringLiteral("[Merger] Merging formats into \"/x/y.mp4\"")
                << QStringLiteral("[download] Destination: /x/y.f1.m4a")
                << QStringLiteral("  -N 8   --foo 'a b' \"c\\\"d\" e\\ f '' ");
        QVERIFY(m_seeds.size() > 50);
    }

    void randomLines()
    {
        constexpr int lines = 120000;
        int progressEvents = 0;
        for (int n = 0; n < lines; ++n) {
            const QString line = n % 2 ? randomLine() : mutatedLine();

            const auto event = ProgressParser::parse(line);
            const bool marker = line.startsWith(QLatin1String("MVPROG|")) || line.startsWith(QLatin1String("MVPP|")) ||
                                line.startsWith(QLatin1String("MVITEM|"));
            if (!marker)
                QVERIFY2(event, qPrintable(line));
            if (const auto *info = event ? event->as<ProgressEvent::Info>() : nullptr)
                QCOMPARE(info->line, line);
            if (const auto *p = event ? event->as<ProgressEvent::Progress>() : nullptr) {
                QVERIFY(line.endsWith(p->filename));
                ++progressEvents;
            }

            QVERIFY(!ErrorInterpreter::explain(line, n).isEmpty());

            const QStringList arguments = YTDLPManager::splitArguments(line);
            QCOMPARE(YTDLPManager::splitArguments(quoted(arguments)), arguments);
        }
        QVERIFY(progressEvents > 100); // the mutations kept enough markers intact to matter
    }
};

QTEST_APPLESS_MAIN(TestOutputRobustness)
#include "tst_outputrobustness.moc"
