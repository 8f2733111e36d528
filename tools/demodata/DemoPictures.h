#pragma once

#include <QByteArray>
#include <QString>

namespace Ledgerly::Demo {

// Small pictures drawn from a motif name, so the demo data needs no image
// files: "receipt" draws a till receipt, other names a household object
// ("tv", "sofa", "lamp", ...; unknown names a packed box). The seed varies
// colours and details between records. The result is the bytes of a 24-bit
// Windows bitmap, the same for the same arguments on every run.
QByteArray drawDemoPicture(const QString &motif, quint32 seed);

} // namespace Ledgerly::Demo
