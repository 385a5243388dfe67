#include "data/ErrorReporter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// The message buffer the reporter reads an error's text into.
constexpr size_t kMaxMessage = 255;

CDBErrorReport& LastReport() {
    static CDBErrorReport report;
    return report;
}

DBCursorHook& CursorHook() {
    static DBCursorHook hook;
    return hook;
}

bool LogToStderr() {
    const char* log = std::getenv("KOMPENDOR_DB_LOG");
    return log && std::strcmp(log, "1") == 0;
}

// text cut to at most limit bytes without splitting a UTF-8 character.
std::string CutUtf8(std::string_view text, size_t limit) {
    if (text.size() <= limit) return std::string(text);
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return std::string(text.substr(0, end));
}

void Keep(std::string_view context, std::string message) {
    CDBErrorReport& report = LastReport();
    report.context.assign(context);
    report.message = std::move(message);
    ++report.count;
    if (LogToStderr()) {
        std::fprintf(stderr, "kompendor: database error in %s: %s\n", report.context.c_str(),
                     report.message.c_str());
    }
}

}  // namespace

void ReportDBError(const std::exception& error, std::string_view context) {
    Keep(context, CutUtf8(error.what(), kMaxMessage));
}

void ReleaseDBError(const std::exception&, std::string_view context) { Keep(context, {}); }

const CDBErrorReport& LastDBError() noexcept { return LastReport(); }

void ResetDBErrors() noexcept {
    CDBErrorReport& report = LastReport();
    report.context.clear();
    report.message.clear();
    report.count = 0;
}

void SetDBCursorHook(DBCursorHook hook) { CursorHook() = std::move(hook); }

CDBBusyCursor::CDBBusyCursor() {
    if (CursorHook()) CursorHook()(true);
}

CDBBusyCursor::~CDBBusyCursor() {
    if (CursorHook()) CursorHook()(false);
}
