#include "EditionSqlite.h"

namespace edition {

bool Exec(sqlite3* db, const char* sql, QString& error) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        error = QString("SQL: %1 (%2)").arg(message ? message : "?", sql);
        sqlite3_free(message);
        return false;
    }
    return true;
}

CStatement Prepare(sqlite3* db, const char* sql, QString& error) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) {
        error = QString("SQL: %1 (%2)").arg(sqlite3_errmsg(db), sql);
    }
    return CStatement(s);
}

void BindText(sqlite3_stmt* s, int index, const QString& text) {
    if (text.isNull()) {
        sqlite3_bind_null(s, index);
    } else {
        QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
}

bool StepDone(sqlite3* db, sqlite3_stmt* s, QString& error) {
    bool ok = sqlite3_step(s) == SQLITE_DONE;
    if (!ok) error = QString("SQL: %1").arg(sqlite3_errmsg(db));
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return ok;
}

}  // namespace edition
