#pragma once
// The picture records of the almanac (HTML rows of Typ 9): thematic world maps, graphs of
// the data fields, table pictures of the field groups and indicator panels of the
// countries. The pictures themselves are drawn by others from these rows; this is the one
// place that fixes their numbers and file names (tools/edition/README.md documents them).

#include <QString>

namespace PictureRecords {

// HTML.SubTyp: 2 and 3 open from Graph.nox, 4 from Tables.nox.
inline constexpr int kSubTypMap = 2;
inline constexpr int kSubTypGraph = 3;
inline constexpr int kSubTypTable = 4;

inline constexpr int kMapBase = 920000;    // + Val.ID: thematic world map of a field
inline constexpr int kGraphBase = 930000;  // + Val.ID: graph of a field's yearly values
inline constexpr int kTableBase = 940000;  // + Val.ID of a group: table picture
inline constexpr int kPanelBase = 950000;  // + Land.ID: indicator panel of a country

inline int MapId(int valId) { return kMapBase + valId; }
inline int GraphId(int valId) { return kGraphBase + valId; }
inline int TableId(int groupId) { return kTableBase + groupId; }
inline int PanelId(int landId) { return kPanelBase + landId; }

// HTML.Abbildung: the member name in the archive (and in Previews.nox).
inline QString MapFile(int valId) { return QString("Karte%1.gif").arg(valId); }
inline QString GraphFile(int valId) { return QString("Grafik%1.gif").arg(valId); }
inline QString TableFile(int groupId) { return QString("Tabelle%1.gif").arg(groupId); }
inline QString PanelFile(const QString& iso3) { return "Kennzahlen" + iso3 + ".gif"; }

// The archive of a SubTyp, as the main window opens it.
inline QString Archive(int subTyp) { return subTyp == kSubTypTable ? "Tables.nox" : "Graph.nox"; }

// The link identifier of a record (LINKID_SET ";<name>;"): its file name without ".gif".
inline QString LinkId(const QString& file) {
    return file.endsWith(".gif") ? file.chopped(4) : file;
}

}  // namespace PictureRecords
