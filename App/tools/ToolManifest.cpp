#include "ToolManifest.h"

#include "core/AppPaths.h"
#include "core/Json.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace ToolManifest {

QString path()
{
    return AppPaths::sub(QStringLiteral("Tools")) + QStringLiteral("/manifest.json");
}

Loaded load()
{
    QFile file(path());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const auto object = Json::parseObject(file.readAll());
    if (!object)
        return {{}, true};
    Entries entries;
    for (auto it = object->begin(); it != object->end(); ++it) {
        const auto entry = ManifestEntry::fromJson(it.value());
        if (!entry)
            return {{}, true};
        entries.emplace(it.key(), *entry);
    }
    return {std::move(entries), false};
}

bool save(const Entries &entries, bool moveAsideFirst)
{
    QJsonObject object;
    for (const auto &[name, entry] : entries)
        object.insert(name, entry.toJson());
    QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    // Compact JSON holds a slash only inside strings, so this escapes exactly those.
    bytes.replace("/", "\\/");

    const QString target = path();
    if (moveAsideFirst) {
        const QString aside = target + QStringLiteral(".bad");
        QFile::remove(aside);
        QFile::rename(target, aside);
    }
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

} // namespace ToolManifest
