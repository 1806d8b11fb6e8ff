#include "BenchFixtures.h"

#include "BenchLibrary.h"
#include "core/AppPaths.h"
#include "core/LogManager.h"
#include "engine/HistoryItem.h"
#include "engine/HistoryStore.h"
#include "engine/TaskRecord.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace BenchFixtures {

namespace {
const QString closedPort = QStringLiteral("http://127.0.0.1:9");

void write(const QString &path, const QByteArray &bytes, QFile::Permissions permissions = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        qFatal("cannot write %s", qPrintable(path));
    if (permissions)
        QFile::setPermissions(path, permissions);
}

void writeScript(const QString &name, const QByteArray &body)
{
    write(AppPaths::support() + QStringLiteral("/Tools/") + name, "#!/bin/sh\n" + body,
          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
}
} // namespace

void useHome(const QString &root)
{
    for (const char *variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
        const QString path = root + QLatin1Char('/') + QLatin1String(variable);
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    }
}

DownloadOptions request(int index)
{
    DownloadOptions options;
    options.url = closedPort + QStringLiteral("/watch?v=") + QString::number(index);
    options.title = QStringLiteral("Video number ") + QString::number(index);
    options.thumbnail = closedPort + QStringLiteral("/thumb/") + QString::number(index) + QStringLiteral(".jpg");
    options.folder = QDir::homePath() + QStringLiteral("/Downloads");
    return options;
}

void writeHistory(int entries)
{
    QJsonArray items;
    for (int index = 0; index < entries; ++index) {
        HistoryItem item;
        item.id = QUuid::createUuid();
        item.title = QStringLiteral("Video number ") + QString::number(index);
        item.date = QDateTime::currentDateTimeUtc().addSecs(-index * 60);
        item.status = index % 7 == 0 ? TaskStatus::Failed : TaskStatus::Completed;
        item.folder = QDir::homePath() + QStringLiteral("/Downloads");
        item.filePath = item.folder + QLatin1Char('/') + item.title + QStringLiteral(".mp4");
        item.sourceURL = closedPort + QStringLiteral("/watch?v=") + QString::number(index);
        item.size = 1'000'000 + index;
        item.options = request(index);
        items.append(item.toJson());
    }
    write(HistoryStore::filePath(), QJsonDocument(items).toJson(QJsonDocument::Compact));
}

QUuid writeQueue(int tasks)
{
    QJsonArray records;
    QUuid first;
    for (int index = 0; index < tasks; ++index) {
        TaskRecord record;
        record.id = QUuid::createUuid();
        record.options = request(index);
        record.createdAt = QDateTime::currentDateTimeUtc().addSecs(index - tasks);
        if (index % 2 == 0) {
            record.status = TaskStatus::Completed;
            record.progress = 1;
            record.finishedAt = record.createdAt.addSecs(30);
            record.outputFiles = {record.options.folder + QLatin1Char('/') + record.options.title +
                                  QStringLiteral(".mp4")};
            record.finalSize = 25'000'000 + index;
        } else {
            record.status = TaskStatus::Paused;
            record.progress = 0.37;
        }
        if (index == 0)
            first = record.id;
        records.append(record.toJson());
    }
    write(AppPaths::support() + QStringLiteral("/queue.json"), QJsonDocument(records).toJson(QJsonDocument::Compact));
    return first;
}

void writeLog(const QUuid &task, qint64 bytes)
{
    QFile log(LogManager::taskLogPath(task));
    if (!log.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(log.fileName()));
    const QByteArray line =
        "[2026-12-09T04:18:03Z] MVPROG|downloading|12.3%|1234567|45678901|1200000|27|video.f137.mp4\n";
    QByteArray block;
    while (block.size() < 1'000'000)
        block += line;
    for (qint64 written = 0; written < bytes; written += block.size())
        log.write(block);
}

void writeLibrary()
{
    write(AppPaths::support() + QStringLiteral("/library.json"), BenchLibrary::build().toJson());
}

void writeTools()
{
    writeScript(QStringLiteral("yt-dlp"), "case \"$*\" in\n"
                                          "--version) echo 2026.08.19 ;;\n"
                                          "*--list-extractors*) seq -f 'extractor%g' 150 ;;\n"
                                          "*--progress-template*) exec sleep 3600 ;;\n"
                                          "*) exit 1 ;;\n"
                                          "esac\n");
    for (const char *name : {"ffmpeg", "ffprobe"})
        writeScript(QLatin1String(name),
                    QByteArray("echo '") + name + " version 7.1 Copyright (c) the FFmpeg developers'\n");
    writeScript(QStringLiteral("deno"), "case \"$1\" in\n"
                                        "--version) echo 'deno 2.2.0 (stable, release, x86_64-unknown-linux-gnu)' ;;\n"
                                        "eval) echo 42 ;;\n"
                                        "*) exit 1 ;;\n"
                                        "esac\n");
}

} // namespace BenchFixtures
