#pragma once
// The error object of the database layer, apart from the database classes so that code which
// only reports or throws database errors need not see them.

#include <stdexcept>
#include <string>

// The engine's message text and SQLite's extended result code (SQLITE_ERROR for failures the
// layer finds itself, such as a wrong password).
class CDBException : public std::runtime_error {
public:
    CDBException(const std::string& message, int code)
        : std::runtime_error(message), m_code(code) {}
    int Code() const noexcept { return m_code; }

private:
    int m_code;
};
