#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

class QSaveFile;

namespace Ledgerly {

// A file written by something that needs a QIODevice (a PDF writer), with
// SafeFile's promise: bytes go to a temporary file beside the target in
// blocks, every block is checked on its way to the disk, and the target is
// replaced only by commit(), after the last block was written and flushed.
// After the first failing block nothing more is written; dropped without
// commit() the temporary file goes and an older file stays as it was.
class SafeFileDevice : public QIODevice
{
    Q_OBJECT
public:
    static constexpr qsizetype blockSize = 256 * 1024;

    explicit SafeFileDevice(const QString &path, QObject *parent = nullptr);
    ~SafeFileDevice() override;

    // Makes the temporary file and opens the device for writing.
    bool openFile();
    bool commit();
    void cancel();

    bool failed() const { return !m_error.isEmpty(); }
    // "Cannot write "<path>": <why>"; empty while nothing failed.
    const QString &errorText() const { return m_error; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override;

private:
    bool writeBlock();
    void fail(const QString &reason);

    QString m_path;
    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_block;
    QString m_error;
};

} // namespace Ledgerly
