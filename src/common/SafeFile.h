#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;
class QIODevice;
class QSaveFile;

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

    // Opens a regular file of at most maxSize bytes for reading into file.
    // The kind of file is checked on the opened file itself, and the open
    // never waits for a FIFO's writer, so a file swapped for a pipe or a
    // device after any earlier check is refused too. *size is its size.
    static bool openForReading(const QString &path, qint64 maxSize, QFile &file, qint64 *size,
                               QString *error);
    // Why path cannot be read as a regular file ("it is not a regular file",
    // "it does not exist"); empty when it can be opened.
    static QString readProblem(const QString &path);

    class Writer;
};

// Writes a file in blocks through a temporary file beside it, with the same
// promise as SafeFile::write: every byte is checked on its way to the disk,
// and the file takes the old one's place only in commit(), after the last
// block was written and flushed. Nothing is replaced when any step fails or
// the writer is dropped without commit().
class SafeFile::Writer
{
public:
    static constexpr qsizetype DefaultBlockSize = 256 * 1024;

    explicit Writer(const QString &path, qsizetype blockSize = DefaultBlockSize);
    ~Writer();
    Writer(const Writer &) = delete;
    Writer &operator=(const Writer &) = delete;

    // False (with result() saying why) when the temporary file cannot be made.
    bool open();
    // Room for n more bytes at the end of the block, written out first when
    // the block is full; advance(n) then takes them.
    char *room(qsizetype n)
    {
        if (m_block.size() - m_used < n)
            makeRoom(n);
        return m_block.data() + m_used;
    }
    void advance(qsizetype n) { m_used += n; }
    void append(const char *data, qsizetype size);
    void append(const QByteArray &bytes) { append(bytes.constData(), bytes.size()); }
    void append(char c)
    {
        *room(1) = c;
        ++m_used;
    }

    // The bytes taken so far, written or waiting in the block.
    qint64 size() const { return m_written + m_used; }
    bool failed() const { return !m_result.ok(); }
    // Writes what is left, flushes and renames the file over the old one.
    bool commit();
    // Gives up: the temporary file goes, the old file stays.
    void cancel();
    const Result &result() const { return m_result; }

private:
    void makeRoom(qsizetype n);
    bool writeBlock();
    void fail();

    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_block;
    qsizetype m_blockSize;
    qsizetype m_used = 0;
    qint64 m_written = 0;
    Result m_result;
    bool m_open = false;
};

} // namespace Ledgerly
