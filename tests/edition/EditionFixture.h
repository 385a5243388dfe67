#pragma once
// The edition built once into the build tree for the edition tests, and queries on its
// almanac.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include "EditionBuilder.h"
#include "data/AlmanacSql.h"

namespace edition_test {

const QString kSource = KOMPENDOR_TEST_SOURCE_DIR;
const QString kOut = QString(KOMPENDOR_TEST_BINARY_DIR) + "/edition-test";

class Edition : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!QFile::exists(kSource + "/edition/node_modules/world-countries/countries.json")) {
            s_skip = "edition/node_modules is missing: run scripts/setup";
            return;
        }
        CEditionOptions options;
        options.sourceDir = kSource;
        options.outDir = kOut;
        // The test links the builder, so a changed builder changes this file and the stamp.
        options.builderFile = QCoreApplication::applicationFilePath();
        options.quiet = true;
        s_result = BuildEdition(options);
        if (!s_result.ok) return;
        sqlite3_open_v2((kOut + "/Daten/Kompendor.mdb").toUtf8().constData(), &s_db,
                        SQLITE_OPEN_READONLY, nullptr);
        RegisterAlmanacSql(s_db);
    }
    static void TearDownTestSuite() {
        sqlite3_close(s_db);
        s_db = nullptr;
    }
    void SetUp() override {
        if (!s_skip.isEmpty()) GTEST_SKIP() << s_skip.toStdString();
        ASSERT_TRUE(s_result.ok) << s_result.error.toStdString();
        ASSERT_NE(s_db, nullptr);
    }

    // Rows of a query as texts (NULL as a null QString).
    static QList<QStringList> Query(const QString& sql) {
        QList<QStringList> rows;
        sqlite3_stmt* s = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(s_db, sql.toUtf8().constData(), -1, &s, nullptr), SQLITE_OK)
            << sql.toStdString() << ": " << sqlite3_errmsg(s_db);
        while (s && sqlite3_step(s) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(s); ++c) {
                const unsigned char* text = sqlite3_column_text(s, c);
                row << (text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString());
            }
            rows << row;
        }
        sqlite3_finalize(s);
        return rows;
    }
    static QString One(const QString& sql) { return Query(sql).value(0).value(0); }

    static inline QString s_skip;
    static inline CEditionResult s_result;
    static inline sqlite3* s_db = nullptr;
};

}  // namespace edition_test

using edition_test::Edition;
