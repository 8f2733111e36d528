#include "RecordServer.h"

#include "CreatedFolders.h"
#include "HotSyncInstall.h"
#include "PdbError.h"
#include "common/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Ledgerly {

namespace {

// 65535 records of 65535 fields of 64 KiB cannot occur in practice; this
// bound keeps a hostile file from exhausting memory while leaving every real
// database far below it.
constexpr qint64 maxDatabaseFileSize = qint64(512) * 1024 * 1024;

// The current user of a home: the one the file names, else the first.
int currentIndex(const HotSyncHome &home)
{
    const int index = home.indexOf(home.currentUser);
    return index >= 0 ? index : (home.users.isEmpty() ? -1 : 0);
}

} // namespace

RecordServer::RecordServer(QString hotSyncHome)
    : m_home(QDir::cleanPath(QFileInfo(hotSyncHome).absoluteFilePath()))
{}

// Opens the home's users file, creating the home with the login user when it
// is used for the first time.
HotSyncHome RecordServer::openHome()
{
    HotSyncHome home(m_home);
    if (!home.exists())
        home.create(HotSyncHome::loginName());
    const QByteArray bytes = home.readFile();
    if (!m_readHome || bytes != m_readBytes) {
        home.load(bytes);
        m_readHome = home;
        m_readBytes = bytes;
    }
    return *m_readHome;
}

QString RecordServer::defaultHotSyncHome(const QString &option)
{
    QString home = option;
    if (home.isEmpty())
        home = qEnvironmentVariable("HOTSYNC_HOME");
    if (home.isEmpty())
        home = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/HotSync");
    return QDir::cleanPath(QFileInfo(home).absoluteFilePath());
}

QStringList RecordServer::GetUserNames()
{
    const HotSyncHome home = openHome();
    QStringList names;
    for (const HotSyncUser &user : home.users)
        names.append(user.name);
    return names;
}

QString RecordServer::GetDefaultUser()
{
    const HotSyncHome home = openHome();
    // A user picked for loading in this run stays the default, so the
    // window's choice survives the next load.
    if (!m_lastFolderUser.isEmpty() && home.indexOf(m_lastFolderUser) >= 0)
        return m_lastFolderUser;
    const int index = currentIndex(home);
    return index >= 0 ? home.users.at(index).name : QString();
}

// An unknown name never falls back to another user: whatever is written
// for it would land in the wrong person's files. The empty name asks for
// the current user.
static int userIndex(const HotSyncHome &home, const QString &user, const QString &homePath)
{
    const int index = user.isEmpty() ? currentIndex(home) : home.indexOf(user);
    if (index < 0)
        throw PdbError(ErrNoSuchUser,
                       user.isEmpty()
                           ? QStringLiteral("The HotSync home \"%1\" has no users")
                                 .arg(QDir::toNativeSeparators(homePath))
                           : QStringLiteral("There is no HotSync user \"%1\"").arg(user));
    return index;
}

QString RecordServer::userNamed(const QString &user)
{
    const HotSyncHome home = openHome();
    return home.users.at(userIndex(home, user, m_home)).name;
}

QString RecordServer::GetUserFolder(const QString &user)
{
    const HotSyncHome home = openHome();
    const int index = userIndex(home, user, m_home);
    // The empty name asks for the current user, who is then the default again.
    m_lastFolderUser = user.isEmpty() ? QString() : home.users.at(index).name;
    return home.absoluteFolder(home.users.at(index));
}

void RecordServer::QueueInstall(const QString &user, const QString &path)
{
    const HotSyncHome home = openHome();
    const HotSyncUser &u = home.users.at(userIndex(home, user, m_home));
    HotSyncInstall::queue(home.absoluteFolder(u), u.jpilot, path);
}

QString RecordServer::GetInstallCommand()
{
    return openHome().installCommand;
}

std::unique_ptr<PdbDatabase> RecordServer::OpenDatabase(const QString &path, OpenMode mode)
{
    const QFileInfo info(path);
    const QString native = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!info.exists()) {
        // A link whose target is missing is no missing file: creating it
        // would write the target, wherever the link points.
        if (info.isSymLink())
            throw PdbError(ErrPathAccess,
                           QStringLiteral("\"%1\" is a symbolic link to \"%2\", which does not "
                                          "exist; nothing is written through it")
                               .arg(native, QDir::toNativeSeparators(info.symLinkTarget())));
        if (mode == OpenMode::CreateIfMissing)
            return std::make_unique<PdbDatabase>();
        throw PdbError(ErrFileNotFound,
                       QStringLiteral("The file \"%1\" does not exist").arg(native));
    }
    if (info.isDir())
        throw PdbError(ErrPathAccess, QStringLiteral("\"%1\" is a folder, not a file").arg(native));
    // Only a regular file is opened (a FIFO would block, a device never
    // end), and never more than the largest file the format can describe.
    QByteArray bytes;
    QString why;
    if (!SafeFile::read(info.absoluteFilePath(), maxDatabaseFileSize, &bytes, &why))
        throw PdbError(ErrPathAccess, why);
    try {
        return PdbDatabase::fromBytes(bytes);
    } catch (const PdbError &e) {
        throw PdbError(e.number(), QStringLiteral("The file \"%1\" is damaged or not a database of "
                                                  "this kind: %2")
                                       .arg(native, e.message()));
    }
}

std::unique_ptr<PdbRecordStream> RecordServer::OpenStream(const QString &path)
{
    const QFileInfo info(path);
    const QString native = QDir::toNativeSeparators(info.absoluteFilePath());
    if (!info.exists())
        throw PdbError(ErrFileNotFound,
                       QStringLiteral("The file \"%1\" does not exist").arg(native));
    if (info.isDir())
        throw PdbError(ErrPathAccess, QStringLiteral("\"%1\" is a folder, not a file").arg(native));
    auto file = std::make_unique<QFile>();
    qint64 size = 0;
    QString why;
    if (!SafeFile::openForReading(info.absoluteFilePath(), maxDatabaseFileSize, *file, &size, &why))
        throw PdbError(ErrPathAccess, why);
    auto stream = std::make_unique<PdbRecordStream>(std::move(file), size);
    try {
        stream->readHead();
        stream->checkAll();
    } catch (const PdbError &e) {
        throw PdbError(e.number(), QStringLiteral("The file \"%1\" is damaged or not a database of "
                                                  "this kind: %2")
                                       .arg(native, e.message()));
    }
    return stream;
}

void RecordServer::addUser(const QString &name, const QString &folder, bool jpilot,
                           bool makeDefault)
{
    if (name.trimmed().isEmpty())
        throw PdbError(ErrInvalidValue, QStringLiteral("A HotSync user needs a name"));
    HotSyncHome home(m_home);
    // A home made by adding its first user holds just that user.
    const bool fresh = !home.exists();
    if (!fresh)
        home.load();
    int index = home.indexOf(name);
    if (index < 0) {
        home.users.append(HotSyncUser{name, QString(), jpilot});
        index = int(home.users.size()) - 1;
    }
    HotSyncUser &user = home.users[index];
    user.jpilot = jpilot;
    if (!folder.isEmpty())
        user.folder = QDir::fromNativeSeparators(folder);
    else if (user.folder.isEmpty())
        user.folder = home.folderNameFor(name);
    if (makeDefault || fresh || home.indexOf(home.currentUser) < 0)
        home.currentUser = name;
    // A user the file does not list must not leave a folder behind: what
    // this made is taken away again when the file cannot be written.
    CreatedFolders made;
    const QString absolute = home.absoluteFolder(user);
    if (!made.make(m_home) || !made.make(absolute)) {
        made.undo();
        throw PdbError(ErrPathAccess, QStringLiteral("Cannot create the user folder \"%1\"")
                                          .arg(QDir::toNativeSeparators(absolute)));
    }
    try {
        home.save();
    } catch (const PdbError &) {
        made.undo();
        throw;
    }
}

} // namespace Ledgerly
