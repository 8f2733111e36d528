#pragma once

#include <QString>

#include <exception>

namespace Ledgerly {

// Numbered failures of the record component. The numbers are what callers
// switch on, so they keep their meaning forever.
enum PdbErrorNumber : int {
    ErrFileNotFound = 1, // the database file does not exist
    ErrDamaged = 13,     // damaged, or not a database of this kind
    ErrDeviceIo = 57,    // writing or flushing the file failed
    ErrDiskFull = 61,    // the volume had no room for every byte
    ErrPermissionDenied = 70,
    ErrPathAccess = 75,    // a file or folder could not be opened or read
    ErrPathNotFound = 76,  // the target folder does not exist
    ErrInvalidValue = 380, // a value the format cannot hold (names record and field)
    ErrNoSuchUser = 440,   // an unknown HotSync user, or a broken HotSync home
};

class PdbError : public std::exception
{
public:
    PdbError(int number, QString message)
        : m_number(number)
        , m_message(std::move(message))
    {}

    int number() const { return m_number; }
    QString message() const { return m_message; }
    const char *what() const noexcept override { return "record component error"; }

private:
    int m_number;
    QString m_message;
};

} // namespace Ledgerly
