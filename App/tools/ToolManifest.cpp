#include "ToolManifest.h"

#include "core/AppPaths.h"
#include "core/Json.h"

#include <QFile>
#include <QJsonDocument>

namespace ToolManifest {

QString path()
{
    return AppPaths::sub(QStringLiteral("Tools")) + QStringLiteral("/manifest.json");
}

Loaded load()
{
    Json::removeStaleTemporaries(path());
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

bool save(const Entries &entries)
{
    QJsonObject object;
    for (const auto &[name, entry] : entries)
        object.insert(name, entry.toJson());
    QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    // Compact JSON holds a slash only inside strings, so this escapes exactly those.
    bytes.replace("/", "\\/");
    return Json::writeFile(path(), bytes);
}

} // namespace ToolManifest
