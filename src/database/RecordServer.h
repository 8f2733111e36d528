#pragma once

#include "HotSyncHome.h"
#include "PdbDatabase.h"
#include "PdbRecordStream.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace Ledgerly {

// The record component: opens database files and knows the PC's HotSync
// users, their folders and the install queue, all kept in a HotSync home
// folder (see docs/hotsync-home.md). Failures throw PdbError.
class RecordServer
{
public:
    explicit RecordServer(QString hotSyncHome);

    // --hotsync-home, else $HOTSYNC_HOME, else "HotSync" in the XDG data home.
    static QString defaultHotSyncHome(const QString &option = {});
    QString hotSyncHome() const { return m_home; }

    QStringList GetUserNames();
    QString GetDefaultUser();
    QString GetUserFolder(const QString &user);
    // The stored spelling of a user of the home (names match ignoring case);
    // the empty name gives the current user. Throws ErrNoSuchUser.
    QString userNamed(const QString &user);
    void QueueInstall(const QString &user, const QString &path);
    QString GetInstallCommand();

    enum class OpenMode { MustExist, CreateIfMissing };
    // MustExist: a missing file throws ErrFileNotFound. CreateIfMissing gives
    // an empty database (no fields, no records) for a missing file.
    std::unique_ptr<PdbDatabase> OpenDatabase(const QString &path,
                                              OpenMode mode = OpenMode::MustExist);
    // The file as a stream of its records, for a reader that goes through
    // them in order without holding the file; every record has been checked
    // (and the stream rewound) when it is handed out. Fails as OpenDatabase
    // does for a file that must exist.
    std::unique_ptr<PdbRecordStream> OpenStream(const QString &path);

    // Adds (or updates) a user of the home; used by set-up tools.
    void addUser(const QString &name, const QString &folder = {}, bool jpilot = false,
                 bool makeDefault = false);

private:
    HotSyncHome openHome();

    QString m_home;
    // The users file as last read, and what it said: every operation reads
    // the file again, and only bytes that changed are parsed again.
    QByteArray m_readBytes;
    std::optional<HotSyncHome> m_readHome;
    QString m_lastFolderUser; // the user last passed to GetUserFolder in this run
};

} // namespace Ledgerly
