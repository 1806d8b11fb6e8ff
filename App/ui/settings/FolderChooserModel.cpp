#include "FolderChooserModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

FolderChooserModel::FolderChooserModel(QObject *parent)
    : QAbstractListModel(parent)
{}

int FolderChooserModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_names.size());
}

QVariant FolderChooserModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || role != NameRole)
        return {};
    return m_names.at(index.row());
}

QHash<int, QByteArray> FolderChooserModel::roleNames() const
{
    return {{NameRole, "name"}};
}

bool FolderChooserModel::canGoUp() const
{
    return !m_folder.isEmpty() && !QDir(m_folder).isRoot();
}

bool FolderChooserModel::canChoose() const
{
    const QFileInfo info(m_folder);
    return info.isDir() && info.isWritable();
}

void FolderChooserModel::setNewName(const QString &name)
{
    if (name == m_newName)
        return;
    m_newName = name;
    Q_EMIT newNameChanged();
}

void FolderChooserModel::start(const QString &path)
{
    QString folder = QDir::isAbsolutePath(path) ? QDir::cleanPath(path) : QString();
    while (!folder.isEmpty() && !QFileInfo(folder).isDir())
        folder = QDir(folder).isRoot() ? QString() : QFileInfo(folder).path();
    setNaming(false);
    show(folder.isEmpty() ? QDir::homePath() : folder);
}

void FolderChooserModel::goTo(const QString &path)
{
    QString typed = path.trimmed();
    if (typed == QLatin1String("~") || typed.startsWith(QLatin1String("~/")))
        typed = QDir::homePath() + typed.mid(1);
    const QString target = QDir::cleanPath(QDir(m_folder).absoluteFilePath(typed));
    if (typed.isEmpty() || !QFileInfo(target).isDir()) {
        setError(tr("\u201c%1\u201d is not a folder.").arg(path.trimmed()));
        return;
    }
    show(target);
}

void FolderChooserModel::enter(int row)
{
    if (row >= 0 && row < m_names.size())
        show(QDir(m_folder).filePath(m_names.at(row)));
}

void FolderChooserModel::goUp()
{
    if (canGoUp())
        show(QFileInfo(m_folder).path(), QFileInfo(m_folder).fileName());
}

void FolderChooserModel::goHome()
{
    show(QDir::homePath());
}

void FolderChooserModel::toggleNaming()
{
    setNewName(QString());
    setError(QString());
    setNaming(!m_naming);
}

void FolderChooserModel::create()
{
    const QString name = m_newName.trimmed();
    if (name.isEmpty())
        return;
    if (name.contains(QLatin1Char('/')))
        return setError(tr("A folder name cannot contain \u201c/\u201d."));
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return setError(tr("\u201c%1\u201d is not a folder name.").arg(name));
    const QString path = QDir(m_folder).filePath(name);
    if (QFileInfo::exists(path))
        return setError(tr("\u201c%1\u201d already exists here.").arg(name));
    // mkdir itself, for the reason it gives (no permission, a name too long, a full disk).
    if (::mkdir(QFile::encodeName(path).constData(), 0777) != 0)
        return setError(tr("Could not create \u201c%1\u201d: %2").arg(name, qt_error_string(errno)));
    setNaming(false);
    show(path);
}

void FolderChooserModel::show(const QString &path, const QString &select)
{
    QDir dir(path);
    beginResetModel();
    m_folder = QDir::cleanPath(path);
    m_names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    m_startRow = m_names.isEmpty() ? -1 : std::max(0, int(m_names.indexOf(select)));
    endResetModel();
    setError(QString());
    Q_EMIT folderChanged();
}

void FolderChooserModel::setError(const QString &error)
{
    if (error == m_error)
        return;
    m_error = error;
    Q_EMIT errorChanged();
}

void FolderChooserModel::setNaming(bool naming)
{
    if (naming == m_naming)
        return;
    m_naming = naming;
    Q_EMIT namingChanged();
}
