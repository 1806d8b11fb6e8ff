#include "ComponentRowPresentation.h"

ComponentRowPresentation ComponentRowPresentation::of(Tool tool, const ComponentState &state)
{
    ComponentRowPresentation row;
    row.name = Tools::rawValue(tool);
    row.detail = roleText(tool);
    switch (state.status.kind) {
    case ComponentStatus::Kind::Working:
        row.statusKind = QStringLiteral("working");
        row.detail = state.status.message;
        row.showsProgress = true;
        row.progress = state.progress;
        break;
    case ComponentStatus::Kind::Failed:
        row.statusKind = QStringLiteral("failed");
        row.icon = QStringLiteral("xmark.octagon.fill");
        row.color = QStringLiteral("red");
        row.detail = state.status.message;
        break;
    case ComponentStatus::Kind::Unknown:
        row.statusKind = QStringLiteral("unknown");
        row.icon = QStringLiteral("circle.dotted");
        row.color = QStringLiteral("secondary");
        break;
    case ComponentStatus::Kind::Installed:
        row.statusKind = QStringLiteral("installed");
        row.icon = QStringLiteral("checkmark.circle.fill");
        row.color = QStringLiteral("green");
        row.versionText = state.version.value_or(QString());
        break;
    }
    return row;
}

QString ComponentRowPresentation::roleText(Tool tool)
{
    switch (tool) {
    case Tool::Ytdlp: return QStringLiteral("Download engine");
    case Tool::Ffmpeg: return QStringLiteral("Merging & post-processing");
    case Tool::Ffprobe: return QStringLiteral("Media inspection");
    case Tool::Deno: return QStringLiteral("JavaScript runtime for YouTube challenges");
    case Tool::Ejs: return QStringLiteral("Challenge solver scripts");
    }
    return {};
}

QVariantMap ComponentRowPresentation::toVariant() const
{
    return {{QStringLiteral("name"), name},         {QStringLiteral("statusKind"), statusKind},
            {QStringLiteral("icon"), icon},         {QStringLiteral("color"), color},
            {QStringLiteral("detail"), detail},     {QStringLiteral("showsProgress"), showsProgress},
            {QStringLiteral("progress"), progress}, {QStringLiteral("versionText"), versionText}};
}
