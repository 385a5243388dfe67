#pragma once
// The one way database failures are handled: every database access runs inside a guarded
// block, whose failure goes with a context string ("CMainWnd::ShowFlag") to the reporter.
// The reporter shows and logs nothing; the operation goes on with what it has read. For
// tests and debugging it keeps the last report, and with KOMPENDOR_DB_LOG=1 in the
// environment it also prints each report to stderr.

#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "data/Database.h"

// What the reporter kept of the last failure.
struct CDBErrorReport {
    std::string context;
    // The error's message, at most 255 bytes; empty when the bookmark form reported it.
    std::string message;
    // Reports since start (or since ResetDBErrors).
    unsigned long count = 0;
};

// The common form: reads the error's message text (at most 255 bytes, cut at a character
// boundary) and releases the error.
void ReportDBError(const std::exception& error, std::string_view context);
// The bookmark functions' form: releases the error without reading its message.
void ReleaseDBError(const std::exception& error, std::string_view context);

// The last report and the number of reports.
const CDBErrorReport& LastDBError() noexcept;
// Forgets the reports (tests).
void ResetDBErrors() noexcept;

// The busy/arrow cursor switch around database operations: called with true before and false
// after. Window code installs the toolkit's cursors; without a hook nothing happens.
using DBCursorHook = std::function<void(bool busy)>;
void SetDBCursorHook(DBCursorHook hook);

// Shows the busy cursor for its lifetime.
class CDBBusyCursor {
public:
    CDBBusyCursor();
    ~CDBBusyCursor();
    CDBBusyCursor(const CDBBusyCursor&) = delete;
    CDBBusyCursor& operator=(const CDBBusyCursor&) = delete;
};

enum class DBReportForm { Common, Bookmark };

// Runs body() as a guarded block: a CDBException or other std::exception it throws goes to
// the reporter (in the given form) with context. Returns false when body failed.
template <class Body>
bool DBGuard(std::string_view context, Body&& body, DBReportForm form = DBReportForm::Common) {
    try {
        body();
        return true;
    } catch (const std::exception& error) {
        if (form == DBReportForm::Common)
            ReportDBError(error, context);
        else
            ReleaseDBError(error, context);
        return false;
    }
}

// The read pattern: opens a recordset on sql under the busy cursor and hands it to
// body(CRecordset&) inside a guarded block reported with context. The recordset is closed
// when DBRead returns; whatever body read before a failure stays read. Returns false when
// opening or body failed.
template <class Body>
bool DBRead(CDatabase& db, const std::string& sql, std::string_view context, Body&& body,
            DBReportForm form = DBReportForm::Common) {
    CRecordset recordset(&db);
    CDBBusyCursor busy;
    return DBGuard(
        context,
        [&] {
            recordset.Open(sql);
            body(recordset);
        },
        form);
}
