#pragma once

#include "player/AudioOutput.h"

#include <QAbstractListModel>

class AudioBackend;

// The output picker's menu: the outputs the audio back end offers, in its order, the one in use
// checked. A choice applies at once and lasts for the run.
class OutputListModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        NameRole = Qt::UserRole + 1,
        DescriptionRole,
        InUseRole,
    };

    explicit OutputListModel(AudioBackend &audio, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // The menu is opening: the back end looks at its outputs if it has not yet.
    Q_INVOKABLE void listOutputs();
    Q_INVOKABLE void choose(const QString &name);

private:
    // A new list replaces the menu's lines; a new choice only moves the check mark.
    void sync();

    AudioBackend &m_audio;
    QList<AudioOutput> m_outputs;
    QString m_current;
};
