#pragma once

#include <QAbstractListModel>
#include <QUrl>

// The folder chooser's state: the folder it shows, the folders inside it (one row each, by name),
// and the new-folder line. The shown folder itself is the answer, so an empty folder can be chosen;
// hidden folders are not listed, though a typed path reaches them.
class FolderChooserModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QString folder READ folder NOTIFY folderChanged)
    Q_PROPERTY(QUrl folderUrl READ folderUrl NOTIFY folderChanged)
    Q_PROPERTY(bool canGoUp READ canGoUp NOTIFY folderChanged)
    // The shown folder is still there and downloads can be written into it.
    Q_PROPERTY(bool canChoose READ canChoose NOTIFY folderChanged)
    Q_PROPERTY(bool empty READ empty NOTIFY folderChanged)
    // The row to select in a newly shown folder: the folder just left when going up, else the first.
    Q_PROPERTY(int startRow READ startRow NOTIFY folderChanged)
    Q_PROPERTY(bool naming READ naming NOTIFY namingChanged)
    Q_PROPERTY(QString newName READ newName WRITE setNewName NOTIFY newNameChanged)
    Q_PROPERTY(bool canCreate READ canCreate NOTIFY newNameChanged)
    // Why the last step asked for failed; empty when it did not.
    Q_PROPERTY(QString error READ error NOTIFY errorChanged)
    Q_PROPERTY(QString titleText MEMBER m_titleText CONSTANT)
    Q_PROPERTY(QString pathName MEMBER m_pathName CONSTANT)
    Q_PROPERTY(QString upText MEMBER m_upText CONSTANT)
    Q_PROPERTY(QString homeText MEMBER m_homeText CONSTANT)
    Q_PROPERTY(QString newFolderText MEMBER m_newFolderText CONSTANT)
    Q_PROPERTY(QString nameText MEMBER m_nameText CONSTANT)
    Q_PROPERTY(QString createText MEMBER m_createText CONSTANT)
    Q_PROPERTY(QString listName MEMBER m_listName CONSTANT)
    Q_PROPERTY(QString emptyText MEMBER m_emptyText CONSTANT)
    Q_PROPERTY(QString cancelText MEMBER m_cancelText CONSTANT)
    Q_PROPERTY(QString chooseText MEMBER m_chooseText CONSTANT)

public:
    enum Roles { NameRole = Qt::UserRole };

    explicit FolderChooserModel(QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] QString folder() const { return m_folder; }
    [[nodiscard]] QUrl folderUrl() const { return QUrl::fromLocalFile(m_folder); }
    [[nodiscard]] bool canGoUp() const;
    [[nodiscard]] bool canChoose() const;
    [[nodiscard]] bool empty() const { return m_names.isEmpty(); }
    [[nodiscard]] int startRow() const { return m_startRow; }
    [[nodiscard]] bool naming() const { return m_naming; }
    [[nodiscard]] QString newName() const { return m_newName; }
    void setNewName(const QString &name);
    [[nodiscard]] bool canCreate() const { return !m_newName.trimmed().isEmpty(); }
    [[nodiscard]] QString error() const { return m_error; }

    // Starts at `path`, or at its nearest existing parent when it has gone (a stored folder on an
    // unplugged disk), or at home when there is none; the new-folder line closes.
    Q_INVOKABLE void start(const QString &path);
    // Shows the typed folder; a path that is not a folder keeps the shown one and says so.
    Q_INVOKABLE void goTo(const QString &path);
    Q_INVOKABLE void enter(int row);
    Q_INVOKABLE void goUp();
    Q_INVOKABLE void goHome();
    // Opens or closes the new-folder line, starting it empty.
    Q_INVOKABLE void toggleNaming();
    // Makes the named folder inside the shown one and shows it, ready to be chosen.
    Q_INVOKABLE void create();

Q_SIGNALS:
    void folderChanged();
    void namingChanged();
    void newNameChanged();
    void errorChanged();

private:
    void show(const QString &path, const QString &select = {});
    void setError(const QString &error);
    void setNaming(bool naming);

    QString m_folder;
    QStringList m_names;
    int m_startRow = -1;
    bool m_naming = false;
    QString m_newName;
    QString m_error;

    const QString m_titleText = tr("Choose a Folder");
    const QString m_pathName = tr("Folder path");
    const QString m_upText = tr("Enclosing Folder");
    const QString m_homeText = tr("Home");
    const QString m_newFolderText = tr("New Folder");
    const QString m_nameText = tr("Folder name");
    const QString m_createText = tr("Create");
    const QString m_listName = tr("Folders");
    const QString m_emptyText = tr("No folders inside");
    const QString m_cancelText = tr("Cancel");
    const QString m_chooseText = tr("Choose");
};
