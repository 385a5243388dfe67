#pragma once
// German text for the articles: numbers in the program's format, country names with their
// articles in the cases a sentence needs, and the plain text of a page for the search.

#include <QString>
#include <QStringList>

namespace edition {

// A number with a fixed count of decimals, German style: 1.234.567,5; -0,25.
QString GermanNumber(double value, int decimals);

// A number with as many decimals as its size needs for three to four significant digits
// (12.345; 1.234,5; 12,35; 0,0123).
QString GermanNumberAuto(double value);

// A percentage with one decimal and a signed form for changes ("+3,4 %", "−1,2 %").
QString GermanPercent(double value, bool signedForm = false);

// The grammatical forms of a country name. Names without an article ("Deutschland") take
// the genitive -s, or "von" where the name ends in a sibilant or holds "und".
struct CCountryForms {
    QString nominative;  // "die Schweiz", "Deutschland"
    QString genitive;    // "der Schweiz", "Deutschlands", "von Laos"
    QString accusative;  // "die Schweiz", "den Iran", "Deutschland" (after "an", "für")
    QString dative;      // "der Schweiz", "Deutschland" (after "in", "mit")
    bool plural = false;
    bool withArticle = false;
};

// Forms of a country given by its alpha-3 code and its German short name.
CCountryForms CountryForms(const QString& iso3, const QString& title);

// "in der Schweiz", "im Iran", "in den Vereinigten Staaten", "in Deutschland".
QString InCountry(const CCountryForms& forms);

// The first letter upper-cased, for a country name with an article at a sentence start.
QString Capitalised(const QString& text);

// Text escaped for HTML content and attributes.
QString HtmlEscape(const QString& text);

// The text a reader sees in an HTML fragment: tags removed, entities decoded, white space
// folded to single blanks. Block elements and line breaks separate words.
QString PlainText(const QString& html);

}  // namespace edition
