#include "TestEnvironment.h"

#include "core/AppPaths.h"
#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QSettings>

namespace {
constexpr const char *isolatedVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"};
}

TestEnvironment::TestEnvironment()
{
    const QString subFolders[] = {QStringLiteral("/home"), QStringLiteral("/data"), QStringLiteral("/config"),
                                  QStringLiteral("/cache")};
    for (int i = 0; i < 4; ++i) {
        m_savedEnvironment[i] = qgetenv(isolatedVariables[i]);
        const QString path = m_root.path() + subFolders[i];
        QDir().mkpath(path);
        qputenv(isolatedVariables[i], QFile::encodeName(path));
    }
    // QSettings remembers its folder from the first use; point it at this case's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_root.path() + QStringLiteral("/config"));
    SettingsStore::registerDefaults();
}

TestEnvironment::~TestEnvironment()
{
    for (int i = 0; i < 4; ++i)
        qputenv(isolatedVariables[i], m_savedEnvironment[i]);
}

QString TestEnvironment::toolsDir() const
{
    return AppPaths::sub(QStringLiteral("Tools"));
}

QString TestEnvironment::installTool(const QString &name, const QString &sourcePath) const
{
    const QString target = toolsDir() + QLatin1Char('/') + name;
    QFile::remove(target);
    QFile::copy(sourcePath, target);
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    return target;
}

QString TestEnvironment::installScript(const QString &name, const QByteArray &script) const
{
    const QString target = toolsDir() + QLatin1Char('/') + name;
    // Unlinked rather than overwritten: a tool that just ran may keep its file busy for a moment.
    QFile::remove(target);
    QFile file(target);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(script);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                        QFile::ReadOther | QFile::ExeOther);
    return target;
}
