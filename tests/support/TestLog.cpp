#include "TestLog.h"

#include "core/LogManager.h"

#include <QFile>
#include <QRegularExpression>
#include <QUuid>

namespace TestLog {

QString appLogText()
{
    (void)LogManager::read(QUuid::createUuid()); // a read waits for the log writer to catch up
    QFile file(LogManager::appLogPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList appLogLines()
{
    // Only lines that open an entry carry a stamp; the continuation of a multi-line text does not.
    static const QRegularExpression stamp(QStringLiteral("^\\[\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\\] "),
                                          QRegularExpression::MultilineOption);
    return appLogText().remove(stamp).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace TestLog
