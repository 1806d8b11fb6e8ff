#include "OutputListModel.h"

#include "player/AudioBackend.h"

OutputListModel::OutputListModel(AudioBackend &audio, QObject *parent)
    : QAbstractListModel(parent)
    , m_audio(audio)
    , m_outputs(audio.outputs())
    , m_current(audio.output())
{
    connect(&m_audio, &AudioBackend::outputsChanged, this, &OutputListModel::sync);
}

int OutputListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_outputs.size());
}

QVariant OutputListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const AudioOutput &output = m_outputs.at(index.row());
    switch (role) {
    case NameRole: return output.name;
    case Qt::DisplayRole:
    case DescriptionRole: return output.description;
    case InUseRole: return output.name == m_current;
    default: return {};
    }
}

QHash<int, QByteArray> OutputListModel::roleNames() const
{
    return {{NameRole, "name"}, {DescriptionRole, "description"}, {InUseRole, "inUse"}};
}

void OutputListModel::listOutputs()
{
    m_audio.listOutputs();
}

void OutputListModel::choose(const QString &name)
{
    m_audio.setOutput(name);
}

void OutputListModel::sync()
{
    const QList<AudioOutput> outputs = m_audio.outputs();
    if (outputs != m_outputs) {
        // The list is a handful of lines that rarely change: rebuilding it is the honest signal.
        beginResetModel();
        m_outputs = outputs;
        m_current = m_audio.output();
        endResetModel();
        return;
    }
    const QString current = m_audio.output();
    if (current == m_current)
        return;
    m_current = current;
    if (!m_outputs.isEmpty())
        Q_EMIT dataChanged(index(0), index(rowCount() - 1), {InUseRole});
}
