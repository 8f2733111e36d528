#include "HotSyncHome.h"

#include "PdbError.h"
#include "common/IniSettingsFile.h"
#include "common/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace Ledgerly {

namespace {
const QString groupHome = QStringLiteral("HotSync");
const QString keyCurrent = QStringLiteral("CurrentUser");
const QString keyInstall = QStringLiteral("InstallCommand");
const QString arrayUsers = QStringLiteral("Users");
const QString keyName = QStringLiteral("Name");
const QString keyFolder = QStringLiteral("Folder");
const QString keyJPilot = QStringLiteral("JPilot");
// Far more than any list of users; a larger file is not one we wrote.
constexpr qint64 maxFileSize = 16 * 1024 * 1024;

// A value typed by hand with a comma reads back as a list; the person meant text.
QString text(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}
} // namespace

HotSyncHome::HotSyncHome(QString home)
    : m_home(std::move(home))
{}

QString HotSyncHome::filePath() const
{
    return QDir(m_home).filePath(fileName());
}

bool HotSyncHome::exists() const
{
    return QFileInfo::exists(filePath());
}

void HotSyncHome::load()
{
    // QSettings would block on a FIFO and read a device without end: only a
    // regular file of sane size is handed to it.
    const QFileInfo info(filePath());
    QByteArray probe;
    QString why;
    if (info.exists() && !SafeFile::read(filePath(), maxFileSize, &probe, &why))
        throw PdbError(ErrNoSuchUser,
                       QStringLiteral("The HotSync users file cannot be read. %1").arg(why));
    QSettings ini(filePath(), QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw PdbError(ErrNoSuchUser,
                       QStringLiteral("The HotSync users file \"%1\" is damaged and cannot be read")
                           .arg(QDir::toNativeSeparators(filePath())));
    users.clear();
    // The stored size is only a claim: the rows that exist bound the loop.
    ini.beginGroup(arrayUsers);
    const QStringList rows = ini.childGroups();
    ini.endGroup();
    QList<int> present;
    for (const QString &row : rows) {
        bool ok = false;
        const int n = row.toInt(&ok);
        if (ok && n >= 1)
            present.append(n);
    }
    std::sort(present.begin(), present.end());
    const int count = ini.beginReadArray(arrayUsers);
    for (const int n : present) {
        if (n > count)
            break;
        ini.setArrayIndex(n - 1);
        HotSyncUser user{text(ini.value(keyName)), text(ini.value(keyFolder)),
                         ini.value(keyJPilot, false).toBool()};
        // A user without a name cannot be chosen or addressed; skip the row.
        if (!user.name.isEmpty() && indexOf(user.name) < 0)
            users.append(user);
    }
    ini.endArray();
    ini.beginGroup(groupHome);
    currentUser = text(ini.value(keyCurrent));
    installCommand = text(ini.value(keyInstall));
    ini.endGroup();
}

void HotSyncHome::save() const
{
    if (!QDir().mkpath(m_home))
        throw PdbError(ErrPathAccess, QStringLiteral("Cannot create the HotSync home \"%1\"")
                                          .arg(QDir::toNativeSeparators(m_home)));
    IniSettingsFile::Values values{{groupHome + QLatin1Char('/') + keyCurrent, currentUser},
                                   {groupHome + QLatin1Char('/') + keyInstall, installCommand}};
    for (int i = 0; i < users.size(); ++i) {
        const QString prefix =
            arrayUsers + QLatin1Char('/') + QString::number(i + 1) + QLatin1Char('/');
        values.append({prefix + keyName, users.at(i).name});
        values.append({prefix + keyFolder, users.at(i).folder});
        values.append({prefix + keyJPilot, users.at(i).jpilot});
    }
    values.append({arrayUsers + QStringLiteral("/size"), int(users.size())});
    const SafeFile::Result written = IniSettingsFile::write(filePath(), values);
    if (!written.ok())
        throw PdbError(written.number, written.message);
}

void HotSyncHome::create(const QString &firstUser)
{
    users = {HotSyncUser{firstUser, folderNameFor(firstUser), false}};
    currentUser = firstUser;
    installCommand.clear();
    const QString folder = absoluteFolder(users.first());
    if (!QDir().mkpath(folder))
        throw PdbError(ErrPathAccess, QStringLiteral("Cannot create the user folder \"%1\"")
                                          .arg(QDir::toNativeSeparators(folder)));
    save();
}

int HotSyncHome::indexOf(const QString &name) const
{
    for (int i = 0; i < users.size(); ++i)
        if (sameUser(users.at(i).name, name))
            return i;
    return -1;
}

QString HotSyncHome::absoluteFolder(const HotSyncUser &user) const
{
    QString folder = QDir::cleanPath(QDir(m_home).absoluteFilePath(QDir::fromNativeSeparators(
        user.folder.isEmpty() ? folderNameFor(user.name) : user.folder)));
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

QString HotSyncHome::folderNameFor(const QString &userName) const
{
    // Only plain characters survive, so no name can climb out of the home
    // (no separators, no "..") or trip over a file system's reserved ones.
    QString base;
    for (const QChar ch : userName) {
        const bool plain = (ch.isLetterOrNumber() && ch.unicode() < 0x80) || ch == u' ' ||
                           ch == u'-' || ch == u'_' || ch == u'.';
        base.append(plain ? ch : QChar(u'_'));
    }
    base = base.trimmed();
    while (base.startsWith(QLatin1Char('.')))
        base.remove(0, 1);
    if (base.isEmpty())
        base = QStringLiteral("User");
    QString candidate = base;
    for (int n = 2;; ++n) {
        bool taken = false;
        const QString path = QDir::cleanPath(QDir(m_home).absoluteFilePath(candidate));
        for (const HotSyncUser &u : users)
            if (!sameUser(u.name, userName) && !u.folder.isEmpty() && absoluteFolder(u) == path)
                taken = true;
        if (!taken)
            return candidate;
        candidate = QStringLiteral("%1 %2").arg(base).arg(n);
    }
}

QString HotSyncHome::loginName()
{
    for (const char *variable : {"USER", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable).trimmed();
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("User");
}

} // namespace Ledgerly
