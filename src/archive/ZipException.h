#pragma once
// The error the archive reader raises: a cause number and the archive's file name.

#include <exception>
#include <string>

class CZipException : public std::exception {
public:
    // Cause numbers; the zlib codes 1, 2 and -1 to -6 map to 2 to 9.
    enum ECause {
        kGeneric = 1,
        kStreamEnd = 2,
        kNeedDict = 3,
        kErrNo = 4,
        kStreamError = 5,
        kDataError = 6,
        kMemError = 7,
        kBufError = 8,
        kVersionError = 9,
        kBadZipFile = 10,
        kBadCrc = 11,
        kFirstWriteCause = 12,  // 12 to 16 belong to writing and spanning archives
        kLastWriteCause = 16,
        kBadPassword = 17,
        kCdirNotFound = 18,
    };

    // Internal error codes of the reader, beside zlib's own.
    static constexpr int kCodeBadZipFile = -101;
    static constexpr int kCodeBadCrc = -102;
    static constexpr int kCodeBadPassword = -108;
    static constexpr int kCodeCdirNotFound = -109;

    CZipException(int cause, std::string fileName);

    // The cause for a zlib or reader error code; 1 for any code without a cause of its own.
    static int CauseFromCode(int code) noexcept;
    // Throws the exception for a zlib or reader error code.
    [[noreturn]] static void Throw(int code, const std::string& fileName);

    int Cause() const noexcept { return m_cause; }
    const std::string& FileName() const noexcept { return m_fileName; }
    // "cause N: description"; the file name is not part of it.
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    int m_cause;
    std::string m_fileName;
    std::string m_text;
};

// Short English description of a cause ("wrong password"); "unknown error" for other numbers.
const char* ZipCauseDescription(int cause) noexcept;
