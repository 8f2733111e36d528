// The lock the controller holds on its open database, so that two programs
// never both change one file.
#include "MainController.h"

#include "common/Prompter.h"

namespace Ledgerly {

bool MainController::holdsLockFor(const QString &path) const
{
    return m_lock.isLocked() && m_lock.lockFilePath() == DatabaseLock::lockFilePathFor(path);
}

bool MainController::lockDatabase(const QString &path)
{
    if (!m_locksDatabases || holdsLockFor(path))
        return true;
    DatabaseLock lock = DatabaseLock::acquire(path);
    if (!lock.isLocked()) {
        // The table must not stay tied to a file it could then be saved
        // over: the database that was open is saved already, so it closes.
        closeDatabase();
        m_prompter.message(lock.error(), Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    // Taken before the old one goes, so no other program slips in between
    // when the same file is opened again.
    m_lock = std::move(lock);
    return true;
}

} // namespace Ledgerly
