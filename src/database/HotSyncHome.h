#pragma once

#include <QList>
#include <QString>

namespace Ledgerly {

// One HotSync user of a home: the name, the folder holding the user's
// handheld files (absolute, or relative to the home), and whether that
// folder is a J-Pilot home with its own install list.
struct HotSyncUser
{
    QString name;
    QString folder;
    bool jpilot = false;
};

// The users file of a HotSync home ("hotsync.ini"; see docs/hotsync-home.md).
// load() and save() read and write the whole file; nothing is cached between
// calls, so edits made by hand or by another process are seen at once.
class HotSyncHome
{
public:
    explicit HotSyncHome(QString home);

    static QString fileName() { return QStringLiteral("hotsync.ini"); }
    QString filePath() const;
    bool exists() const;

    // Throws PdbError(ErrNoSuchUser) for a file that cannot be read.
    void load();
    // The two halves of load(): the file's bytes (empty when it is missing),
    // and the users read from such bytes.
    QByteArray readFile() const;
    void load(const QByteArray &bytes);
    // Creates the home folder when needed. Throws PdbError on failure.
    void save() const;

    // Creates the home with one user (made current) and that user's folder.
    void create(const QString &firstUser);

    // User names are compared ignoring case, as the desktop's own user
    // folders are: "ann" and "Ann" are one user everywhere.
    static bool sameUser(const QString &a, const QString &b)
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }
    // The name folded as sameUser() folds it: two keys are equal exactly when
    // sameUser() holds, so a set of keys finds a repeated user at once.
    static QString userKey(const QString &name);
    int indexOf(const QString &name) const;
    // The user's folder made absolute, with "/" separators and no trailing one.
    QString absoluteFolder(const HotSyncUser &user) const;
    // A folder name for a new user that stays inside the home and is not
    // already another user's folder.
    QString folderNameFor(const QString &userName) const;
    // The login name of the person running the program ("User" when unknown).
    static QString loginName();

    QList<HotSyncUser> users;
    QString currentUser;
    QString installCommand;

private:
    QString m_home;
};

} // namespace Ledgerly
