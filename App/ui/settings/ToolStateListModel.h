#pragma once

#include "core/Tool.h"
#include "tools/ComponentState.h"

#include <QAbstractListModel>

class DependencyManager;

// One row per tool in display order (yt-dlp, FFmpeg, ffprobe, Deno, yt-dlp-ejs), following
// the tool manager's published states.
class ToolStateListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        NameRole = Qt::UserRole, // the tool's raw value, "yt-dlp"
        LabelRole,               // label() of its state
    };

    // `deps` must outlive this model.
    explicit ToolStateListModel(DependencyManager *deps, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // What the row shows for a state: the step text while working, "Problem: " and the error
    // when failed, the version (or "Installed") when installed, "Not installed" otherwise.
    [[nodiscard]] static QString label(const ComponentState &state);

private:
    void statesChanged();

    DependencyManager *m_deps;
};
