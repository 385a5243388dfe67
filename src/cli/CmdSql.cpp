// kompendor-cli sql "<statement>": runs one query on the almanac, opened as the program opens
// it, and prints the field names and then each row, TAB-separated.
#include <iostream>

#include "cli/CliSettings.h"
#include "data/Database.h"
#include "data/ValueRoutines.h"

int RunSql(const CliArgs& args) {
    if (args.args.empty()) {
        std::cerr << "kompendor-cli sql: the SQL statement is missing\n";
        return 2;
    }
    // A statement given as several words is one statement.
    std::string sql;
    for (const std::string& word : args.args) sql += (sql.empty() ? "" : " ") + word;

    CliInstallation inst = LoadInstallation(args);
    try {
        CDatabase db;
        db.Open(inst.settings->mdb, true, true, kAlmanacConnect);
        CRecordset rs(&db);
        rs.Open(sql);
        const int fields = rs.GetFieldCount();
        for (int i = 0; i < fields; ++i) std::cout << (i ? "\t" : "") << rs.GetFieldName(i);
        std::cout << '\n';
        for (; !rs.IsEOF(); rs.MoveNext()) {
            for (int i = 0; i < fields; ++i)
                std::cout << (i ? "\t" : "") << ToText(rs.GetFieldValue(i));
            std::cout << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
