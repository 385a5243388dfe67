#pragma once
// Owning handles for SQLite's connection and statement objects.

#include <sqlite3.h>

#include <utility>

// An open SQLite connection; closes it when destroyed.
class CSqliteHandle {
public:
    CSqliteHandle() noexcept = default;
    // Takes ownership of db (may be null).
    explicit CSqliteHandle(sqlite3* db) noexcept : m_db(db) {}
    ~CSqliteHandle() { Reset(); }

    CSqliteHandle(const CSqliteHandle&) = delete;
    CSqliteHandle& operator=(const CSqliteHandle&) = delete;
    CSqliteHandle(CSqliteHandle&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}
    CSqliteHandle& operator=(CSqliteHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            m_db = std::exchange(other.m_db, nullptr);
        }
        return *this;
    }

    sqlite3* Get() const noexcept { return m_db; }
    explicit operator bool() const noexcept { return m_db != nullptr; }

    // Closes the connection (statements still open keep it alive until they are finalized).
    void Reset(sqlite3* db = nullptr) noexcept {
        if (m_db) sqlite3_close_v2(m_db);
        m_db = db;
    }

private:
    sqlite3* m_db = nullptr;
};

// A prepared SQLite statement; finalizes it when destroyed.
class CSqliteStatement {
public:
    CSqliteStatement() noexcept = default;
    // Takes ownership of stmt (may be null).
    explicit CSqliteStatement(sqlite3_stmt* stmt) noexcept : m_stmt(stmt) {}
    ~CSqliteStatement() { Reset(); }

    CSqliteStatement(const CSqliteStatement&) = delete;
    CSqliteStatement& operator=(const CSqliteStatement&) = delete;
    CSqliteStatement(CSqliteStatement&& other) noexcept
        : m_stmt(std::exchange(other.m_stmt, nullptr)) {}
    CSqliteStatement& operator=(CSqliteStatement&& other) noexcept {
        if (this != &other) {
            Reset();
            m_stmt = std::exchange(other.m_stmt, nullptr);
        }
        return *this;
    }

    sqlite3_stmt* Get() const noexcept { return m_stmt; }
    explicit operator bool() const noexcept { return m_stmt != nullptr; }

    void Reset(sqlite3_stmt* stmt = nullptr) noexcept {
        if (m_stmt) sqlite3_finalize(m_stmt);
        m_stmt = stmt;
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
};
