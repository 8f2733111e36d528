#include "HotSyncHome.h"

#include "CreatedFolders.h"
#include "PdbError.h"
#include "common/IniSettingsFile.h"
#include "common/SafeFile.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

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
    load(readFile());
}

QByteArray HotSyncHome::readFile() const
{
    // QSettings would block on a FIFO and read a device without end: only a
    // regular file of sane size is read.
    QByteArray bytes;
    QString why;
    if (QFileInfo::exists(filePath()) && !SafeFile::read(filePath(), maxFileSize, &bytes, &why))
        throw PdbError(ErrNoSuchUser,
                       QStringLiteral("The HotSync users file cannot be read. %1").arg(why));
    return bytes;
}

void HotSyncHome::load(const QByteArray &bytes)
{
    IniSettingsFile::Texts values;
    if (!bytes.isEmpty() && !IniSettingsFile::readTexts(filePath(), bytes, &values))
        throw PdbError(ErrNoSuchUser,
                       QStringLiteral("The HotSync users file \"%1\" is damaged and cannot be read")
                           .arg(QDir::toNativeSeparators(filePath())));

    // Rows by number, whatever order the file has them in. The stored size
    // is only a claim: the rows that exist bound the list.
    const QString rowPrefix = arrayUsers + QLatin1Char('/');
    QHash<int, HotSyncUser> rows;
    rows.reserve(values.size() / 3);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!it.key().startsWith(rowPrefix))
            continue;
        const QStringView rest = QStringView(it.key()).sliced(rowPrefix.size());
        const qsizetype slash = rest.indexOf(u'/');
        // Rows are read by their number as written ("1", never "01").
        if (slash <= 0 || rest.front() == u'0' || !rest.front().isDigit())
            continue;
        bool ok = false;
        const int n = rest.first(slash).toInt(&ok);
        if (!ok)
            continue;
        const QStringView field = rest.sliced(slash + 1);
        HotSyncUser &user = rows[n];
        if (field == keyName)
            user.name = it.value();
        else if (field == keyFolder)
            user.folder = it.value();
        else if (field == keyJPilot)
            user.jpilot = QVariant(it.value()).toBool();
    }
    const int count = values.value(rowPrefix + QStringLiteral("size")).toInt();

    QList<int> numbers = rows.keys();
    std::sort(numbers.begin(), numbers.end());

    users.clear();
    // A set of the names so far: asking the list for each name again made
    // reading a home of many thousand users take minutes.
    QSet<QString> seen;
    seen.reserve(numbers.size());
    for (const int n : std::as_const(numbers)) {
        const HotSyncUser &user = rows[n];
        // A user without a name cannot be chosen or addressed; skip the row.
        if (n > count || user.name.isEmpty())
            continue;
        const qsizetype before = seen.size();
        seen.insert(userKey(user.name));
        if (seen.size() > before)
            users.append(user);
    }
    currentUser = values.value(groupHome + QLatin1Char('/') + keyCurrent);
    installCommand = values.value(groupHome + QLatin1Char('/') + keyInstall);
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
    CreatedFolders made;
    if (!made.make(m_home) || !made.make(folder)) {
        made.undo();
        throw PdbError(ErrPathAccess, QStringLiteral("Cannot create the user folder \"%1\"")
                                          .arg(QDir::toNativeSeparators(folder)));
    }
    try {
        save();
    } catch (const PdbError &) {
        // Without the file the folders belong to no user; the next use of
        // the home starts afresh.
        made.undo();
        throw;
    }
}

QString HotSyncHome::userKey(const QString &name)
{
    QString key;
    key.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        char32_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name.at(i), name.at(i + 1));
            ++i;
        }
        const char32_t folded = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(folded)) {
            key.append(QChar(QChar::highSurrogate(folded)));
            key.append(QChar(QChar::lowSurrogate(folded)));
        } else {
            key.append(QChar(char16_t(folded)));
        }
    }
    return key;
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
