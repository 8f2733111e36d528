#pragma once

#include <QString>

namespace Ledgerly {

// The install queue of one HotSync user: files waiting in the user folder's
// "Install" subfolder, and for a J-Pilot home also the "jpilot_to_install"
// list of absolute paths that J-Pilot reads at its next sync.
namespace HotSyncInstall {
QString installFolderName();
QString jpilotListName();
// Copies path into <userFolder>/Install (replacing an older copy) and, for a
// J-Pilot home, lists its absolute path once. Throws PdbError.
void queue(const QString &userFolder, bool jpilot, const QString &path);
} // namespace HotSyncInstall

} // namespace Ledgerly
