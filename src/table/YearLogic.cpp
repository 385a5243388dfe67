#include "table/YearLogic.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"

namespace {

// The C library's decimal conversion of one piece of a year list: leading blanks, a sign and
// the leading digits; 0 when there are none.
long ParseYear(const std::string& piece) {
    errno = 0;
    long value = std::strtol(piece.c_str(), nullptr, 10);
    if (errno == ERANGE) value = value < 0 ? INT_MIN : INT_MAX;
    return std::clamp<long>(value, INT_MIN, INT_MAX);
}

}  // namespace

bool ValidateDataIDs(CDatabase* db, IdList& dataIds) {
    if (db == nullptr) return false;
    std::size_t kept = 0;
    std::size_t checked = 0;
    // One look-up per field rather than every Data row in memory: the rows grow with the
    // almanac, the fields asked about do not.
    CDBBusyCursor busy;
    const bool ok = DBGuard("CMainWnd::ValidateDataIDs", [&] {
        for (; checked < dataIds.size(); ++checked) {
            const auto id = static_cast<std::int32_t>(dataIds[checked]);
            CRecordset rs(db);
            rs.Open(SqlFormat("SELECT ValID FROM Data WHERE ValID=%li LIMIT 1", long(id)),
                    RecordsetType::ForwardOnly);
            if (!rs.IsEOF()) dataIds[kept++] = dataIds[checked];
        }
    });
    // IDs not reached after a failure stay in the list.
    for (; checked < dataIds.size(); ++checked) dataIds[kept++] = dataIds[checked];
    dataIds.resize(kept);
    return ok;
}

bool hasYears(CDatabase* db, std::int32_t landId, std::int32_t valId) {
    if (db == nullptr) return false;
    bool years = false;
    DBRead(*db,
           SqlFormat("SELECT * FROM Data WHERE LandID=%li AND ValID=%li ORDER BY Jahr DESC",
                     long(landId), long(valId)),
           "CMainWnd::hasYears", [&](CRecordset& rs) {
               if (!rs.IsEOF()) years = !rs.GetFieldValue("Jahr").IsEmpty();
           });
    return years;
}

bool CollectYears(CDatabase* db, std::int32_t landId, std::int32_t valId,
                  std::vector<unsigned>& years) {
    years.clear();
    if (!hasYears(db, landId, valId)) return false;
    DBRead(*db,
           SqlFormat("SELECT * FROM Data WHERE LandID=%li AND ValID=%li ORDER BY Jahr DESC",
                     long(landId), long(valId)),
           "CMainWnd::CollectYears(LandID, ValID)", [&](CRecordset& rs) {
               for (; !rs.IsEOF(); rs.MoveNext()) {
                   CVariant year = rs.GetFieldValue("Jahr");
                   double number = 0.0;
                   if (ToNumber(year, number)) years.push_back(static_cast<unsigned>(number));
               }
           });
    return years.size() >= 2;
}

bool hasYears(CDatabase* db, std::int32_t valId) {
    if (db == nullptr) return false;
    bool years = false;
    DBRead(*db, SqlFormat("SELECT * FROM ValJahre WHERE ID=%li", long(valId)),
           "CMainWnd::hasYears(ValID)", [&](CRecordset& rs) {
               if (!rs.IsEOF()) years = ToText(rs.GetFieldValue("JahresList")).size() > 2;
           });
    return years;
}

bool CollectYears(CDatabase* db, std::int32_t valId, std::vector<unsigned>& years) {
    years.clear();
    if (db == nullptr) return false;
    std::vector<long> list;
    DBRead(*db, SqlFormat("SELECT * FROM ValJahre WHERE ID=%li", long(valId)),
           "CMainWnd::CollectYears(ValID)", [&](CRecordset& rs) {
               rs.MoveFirst();
               const std::string text = ToText(rs.GetFieldValue("JahresList"));
               // Every "," ends a piece, so an empty list is one piece that counts as 0.
               std::size_t start = 0;
               for (;;) {
                   const std::size_t comma = text.find(',', start);
                   list.push_back(ParseYear(text.substr(start, comma - start)));
                   if (comma == std::string::npos) break;
                   start = comma + 1;
               }
           });
    std::sort(list.begin(), list.end());
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        years.push_back(static_cast<unsigned>(*it));
    }
    return years.size() >= 2;
}

namespace {
unsigned g_referenceYear = kDefaultReferenceYear;
}  // namespace

unsigned ReferenceYear() { return g_referenceYear; }

void SetReferenceYear(unsigned year) { g_referenceYear = year ? year : kDefaultReferenceYear; }

unsigned GetLatestYear(CDatabase* db, std::int32_t valId) {
    std::vector<unsigned> years;
    if (CollectYears(db, valId, years)) return years.front();
    return ReferenceYear();
}

bool canShowMap(CDatabase* db, std::int32_t valId) {
    if (db == nullptr) return false;
    bool mappable = false;
    DBRead(*db, SqlFormat("SELECT * FROM Val WHERE ID=%li", long(valId)), "CMainWnd::canShowMap",
           [&](CRecordset& rs) { mappable = !rs.GetFieldValue("MapView").IsEmpty(); });
    return mappable;
}
