#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace Ledgerly {

// Whole-file reads and writes that never report success for bytes that did
// not reach the disk, and never block on or exhaust memory through a file that
// is not a regular one (a FIFO, a link to a device).
class SafeFile
{
public:
    // The failure numbers the record component reports for writes; kept here
    // so that every layer can report the same numbers.
    enum Number : int { Ok = 0, DeviceIo = 57, DiskFull = 61, PermissionDenied = 70 };

    struct Result
    {
        int number = Ok;
        QString message; // names the file and the reason; empty on success
        bool ok() const { return number == Ok; }
    };

    // Replaces the file at path with bytes, through a temporary file beside
    // it that takes the file's place only once every byte is written and
    // flushed. On failure the old file (if any) is untouched.
    static Result write(const QString &path, const QByteArray &bytes);

    // Writes every byte to an already open device; false when any byte did
    // not get through (the device's error string says why).
    static bool writeAll(QIODevice &device, const QByteArray &bytes);

    // Reads a regular file of at most maxSize bytes. A missing file, a
    // folder, a special file or a larger file gives false and a message.
    static bool read(const QString &path, qint64 maxSize, QByteArray *bytes, QString *error);
};

} // namespace Ledgerly
