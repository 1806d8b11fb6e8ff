#include "ToolStateListModel.h"

#include "tools/DependencyManager.h"

ToolStateListModel::ToolStateListModel(DependencyManager *deps, QObject *parent)
    : QAbstractListModel(parent)
    , m_deps(deps)
{
    connect(m_deps, &DependencyManager::statesChanged, this, &ToolStateListModel::statesChanged);
}

int ToolStateListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(Tools::all().size());
}

QVariant ToolStateListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Tool tool = Tools::all().at(index.row());
    switch (role) {
    case NameRole: return Tools::rawValue(tool);
    case LabelRole: return label(m_deps->state(tool));
    default: return {};
    }
}

QHash<int, QByteArray> ToolStateListModel::roleNames() const
{
    return {{NameRole, "name"}, {LabelRole, "label"}};
}

QString ToolStateListModel::label(const ComponentState &state)
{
    switch (state.status.kind) {
    case ComponentStatus::Kind::Working: return state.status.message;
    case ComponentStatus::Kind::Failed: return tr("Problem: ") + state.status.message;
    case ComponentStatus::Kind::Unknown: return tr("Not installed");
    case ComponentStatus::Kind::Installed: return state.version.value_or(tr("Installed"));
    }
    return {};
}

void ToolStateListModel::statesChanged()
{
    Q_EMIT dataChanged(index(0), index(rowCount() - 1), {LabelRole});
}
