#include "OfflineYtDlp.h"

#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "core/SettingsStore.h"

void OfflineYtDlp::install(const TestEnvironment &environment)
{
    environment.installTool(QStringLiteral("yt-dlp"), QStringLiteral("/usr/bin/yt-dlp"));
    // The 2023 build rejects the options of remote components.
    SettingsStore::set(QStringLiteral("remoteEJS"), false);
    quint16 closedPort = 0;
    {
        TestHttpServer closed;
        closedPort = closed.port();
    }
    SettingsStore::set(QStringLiteral("proxy"), QStringLiteral("http://127.0.0.1:%1").arg(closedPort));
}

QString OfflineYtDlp::networkMessage()
{
    return QStringLiteral("Network problem. Check your internet connection (or proxy) and retry.");
}
