#include "EditionGerman.h"

#include <QHash>
#include <QRegularExpression>
#include <cmath>

namespace edition {

namespace {

// Country names that German uses with an article: nominative, genitive, dative; "p" marks
// a plural name.
struct CArticleName {
    const char* nominative;
    const char* genitive;
    const char* dative;
    bool plural;
};

const QHash<QString, CArticleName>& ArticleNames() {
    static const QHash<QString, CArticleName> names = {
        {"ARE",
         {"die Vereinigten Arabischen Emirate", "der Vereinigten Arabischen Emirate",
          "den Vereinigten Arabischen Emiraten", true}},
        {"ATA", {"die Antarktis", "der Antarktis", "der Antarktis", false}},
        {"ATF",
         {"die Französischen Süd- und Antarktisgebiete",
          "der Französischen Süd- und Antarktisgebiete",
          "den Französischen Süd- und Antarktisgebieten", true}},
        {"BES",
         {"die Karibischen Niederlande", "der Karibischen Niederlande",
          "den Karibischen Niederlanden", true}},
        {"BHS", {"die Bahamas", "der Bahamas", "den Bahamas", true}},
        {"BVT", {"die Bouvetinsel", "der Bouvetinsel", "der Bouvetinsel", false}},
        {"CAF",
         {"die Zentralafrikanische Republik", "der Zentralafrikanischen Republik",
          "der Zentralafrikanischen Republik", false}},
        {"CCK", {"die Kokosinseln", "der Kokosinseln", "den Kokosinseln", true}},
        {"CHE", {"die Schweiz", "der Schweiz", "der Schweiz", false}},
        {"CIV", {"die Elfenbeinküste", "der Elfenbeinküste", "der Elfenbeinküste", false}},
        {"COD",
         {"die Demokratische Republik Kongo", "der Demokratischen Republik Kongo",
          "der Demokratischen Republik Kongo", false}},
        {"COG", {"die Republik Kongo", "der Republik Kongo", "der Republik Kongo", false}},
        {"COK", {"die Cookinseln", "der Cookinseln", "den Cookinseln", true}},
        {"COM", {"die Komoren", "der Komoren", "den Komoren", true}},
        {"CXR", {"die Weihnachtsinsel", "der Weihnachtsinsel", "der Weihnachtsinsel", false}},
        {"CYM", {"die Kaimaninseln", "der Kaimaninseln", "den Kaimaninseln", true}},
        {"DOM",
         {"die Dominikanische Republik", "der Dominikanischen Republik",
          "der Dominikanischen Republik", false}},
        {"ESH", {"die Westsahara", "der Westsahara", "der Westsahara", false}},
        {"FLK", {"die Falklandinseln", "der Falklandinseln", "den Falklandinseln", true}},
        {"FRO", {"die Färöer", "der Färöer", "den Färöern", true}},
        {"GBR",
         {"das Vereinigte Königreich", "des Vereinigten Königreichs", "dem Vereinigten Königreich",
          false}},
        {"HMD",
         {"die Heard und McDonaldinseln", "der Heard und McDonaldinseln",
          "den Heard und McDonaldinseln", true}},
        {"IMN", {"die Insel Man", "der Insel Man", "der Insel Man", false}},
        {"IOT",
         {"das Britische Territorium im Indischen Ozean",
          "des Britischen Territoriums im Indischen Ozean",
          "dem Britischen Territorium im Indischen Ozean", false}},
        {"IRN", {"der Iran", "des Irans", "dem Iran", false}},
        {"IRQ", {"der Irak", "des Iraks", "dem Irak", false}},
        {"KGZ", {"Kirgisistan", "Kirgisistans", "Kirgisistan", false}},
        {"LBN", {"der Libanon", "des Libanons", "dem Libanon", false}},
        {"MDV", {"die Malediven", "der Malediven", "den Malediven", true}},
        {"MHL", {"die Marshallinseln", "der Marshallinseln", "den Marshallinseln", true}},
        {"MNG", {"die Mongolei", "der Mongolei", "der Mongolei", false}},
        {"MNP",
         {"die Nördlichen Marianen", "der Nördlichen Marianen", "den Nördlichen Marianen", true}},
        {"NER", {"der Niger", "des Nigers", "dem Niger", false}},
        {"NFK", {"die Norfolkinsel", "der Norfolkinsel", "der Norfolkinsel", false}},
        {"NLD", {"die Niederlande", "der Niederlande", "den Niederlanden", true}},
        {"OMN", {"der Oman", "des Omans", "dem Oman", false}},
        {"PCN", {"die Pitcairninseln", "der Pitcairninseln", "den Pitcairninseln", true}},
        {"PHL", {"die Philippinen", "der Philippinen", "den Philippinen", true}},
        {"SDN", {"der Sudan", "des Sudans", "dem Sudan", false}},
        {"SLB", {"die Salomonen", "der Salomonen", "den Salomonen", true}},
        {"SSD", {"der Südsudan", "des Südsudans", "dem Südsudan", false}},
        {"SVK", {"die Slowakei", "der Slowakei", "der Slowakei", false}},
        {"SYC", {"die Seychellen", "der Seychellen", "den Seychellen", true}},
        {"TCA",
         {"die Turks- und Caicosinseln", "der Turks- und Caicosinseln",
          "den Turks- und Caicosinseln", true}},
        {"TCD", {"der Tschad", "des Tschads", "dem Tschad", false}},
        {"TUR", {"die Türkei", "der Türkei", "der Türkei", false}},
        {"UKR", {"die Ukraine", "der Ukraine", "der Ukraine", false}},
        {"UMI",
         {"die Kleineren Inselbesitzungen der Vereinigten Staaten",
          "der Kleineren Inselbesitzungen der Vereinigten Staaten",
          "den Kleineren Inselbesitzungen der Vereinigten Staaten", true}},
        {"UNK", {"das Kosovo", "des Kosovos", "dem Kosovo", false}},
        {"USA",
         {"die Vereinigten Staaten", "der Vereinigten Staaten", "den Vereinigten Staaten", true}},
        {"VAT", {"die Vatikanstadt", "der Vatikanstadt", "der Vatikanstadt", false}},
        {"VGB",
         {"die Britischen Jungferninseln", "der Britischen Jungferninseln",
          "den Britischen Jungferninseln", true}},
        {"VIR",
         {"die Amerikanischen Jungferninseln", "der Amerikanischen Jungferninseln",
          "den Amerikanischen Jungferninseln", true}},
        {"YEM", {"der Jemen", "des Jemens", "dem Jemen", false}},
        {"ALA", {"die Ålandinseln", "der Ålandinseln", "den Ålandinseln", true}},
    };
    return names;
}

}  // namespace

QString GermanNumber(double value, int decimals) {
    if (!std::isfinite(value)) return QString();
    QString text = QString::number(std::fabs(value), 'f', decimals);
    // A value that rounds to zero has no sign.
    bool negative = value < 0 && text.toDouble() != 0.0;
    QString whole = text, fraction;
    int point = text.indexOf('.');
    if (point >= 0) {
        whole = text.left(point);
        fraction = text.mid(point + 1);
    }
    for (int i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, '.');
    QString result = fraction.isEmpty() ? whole : whole + ',' + fraction;
    return negative ? "-" + result : result;
}

QString GermanNumberAuto(double value) {
    double size = std::fabs(value);
    int decimals = size >= 1000 ? 0 : size >= 100 ? 1 : size >= 1 ? 2 : size >= 0.1 ? 3 : 4;
    if (size > 0 && size < 0.001) decimals = 2 - int(std::floor(std::log10(size)));
    return GermanNumber(value, decimals);
}

QString GermanPercent(double value, bool signedForm) {
    QString number = GermanNumber(std::fabs(value), 1);
    QString sign;
    if (number != "0,0") {
        if (value < 0) sign = signedForm ? "−" : "-";
        if (value > 0 && signedForm) sign = "+";
    }
    return sign + number + "\u00a0%";
}

CCountryForms CountryForms(const QString& iso3, const QString& title) {
    CCountryForms forms;
    auto it = ArticleNames().find(iso3);
    if (it != ArticleNames().end()) {
        forms.nominative = QString::fromUtf8(it->nominative);
        forms.genitive = QString::fromUtf8(it->genitive);
        forms.dative = QString::fromUtf8(it->dative);
        forms.plural = it->plural;
        forms.withArticle = forms.nominative.startsWith("der ")
                            || forms.nominative.startsWith("die ")
                            || forms.nominative.startsWith("das ");
        forms.accusative = forms.nominative.startsWith("der ") ? "den " + forms.nominative.mid(4)
                                                               : forms.nominative;
        return forms;
    }
    forms.nominative = forms.accusative = forms.dative = title;
    static const QRegularExpression sibilant("(s|ß|x|z|sch)$");
    if (title.contains(" und ") || sibilant.match(title).hasMatch() || title.endsWith("é")) {
        QString dative = title;
        dative.replace(" und die ", " und den ");
        forms.genitive = "von " + dative;
        forms.dative = dative;
    } else {
        forms.genitive = title + "s";
    }
    return forms;
}

QString InCountry(const CCountryForms& forms) {
    if (!forms.withArticle) return "in " + forms.dative;
    if (forms.dative.startsWith("dem ")) return "im " + forms.dative.mid(4);
    return "in " + forms.dative;
}

QString Capitalised(const QString& text) {
    if (text.isEmpty()) return text;
    return text.left(1).toUpper() + text.mid(1);
}

QString HtmlEscape(const QString& text) { return text.toHtmlEscaped(); }

QString PlainText(const QString& html) {
    static const QRegularExpression blocks(
        "<(br|/?p|/?div|/?h[1-6]|/?li|/?tr|/?td|/?th|/?table|/?ul|/?ol|/?dt|/?dd)\\b[^>]*>",
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags("<[^>]*>");
    static const QRegularExpression numeric("&#(x?)([0-9A-Fa-f]+);");
    static const QRegularExpression space("\\s+");
    QString text = html;
    text.replace(blocks, " ");
    text.remove(tags);
    static const QHash<QString, QString> entities = {
        {"&nbsp;", " "},  {"&amp;", "&"},   {"&lt;", "<"},     {"&gt;", ">"},     {"&quot;", "\""},
        {"&#39;", "'"},   {"&raquo;", "»"}, {"&laquo;", "«"},  {"&ndash;", "–"},  {"&mdash;", "—"},
        {"&auml;", "ä"},  {"&ouml;", "ö"},  {"&uuml;", "ü"},   {"&Auml;", "Ä"},   {"&Ouml;", "Ö"},
        {"&Uuml;", "Ü"},  {"&szlig;", "ß"}, {"&middot;", "·"}, {"&thinsp;", " "}, {"&minus;", "−"},
        {"&bdquo;", "„"}, {"&ldquo;", "“"}, {"&rarr;", "→"},   {"&deg;", "°"},    {"&permil;", "‰"},
        {"&sup2;", "²"},  {"&copy;", "©"},  {"&hellip;", "…"},
    };
    // Numeric references first, then named ones; "&amp;" last so "&amp;lt;" stays "&lt;".
    QString decoded;
    int last = 0;
    auto match = numeric.globalMatch(text);
    while (match.hasNext()) {
        auto m = match.next();
        decoded += text.mid(last, m.capturedStart() - last);
        bool ok = false;
        uint code = m.captured(2).toUInt(&ok, m.captured(1).isEmpty() ? 10 : 16);
        decoded
            += ok ? QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1) : m.captured(0);
        last = m.capturedEnd();
    }
    decoded += text.mid(last);
    for (auto it = entities.begin(); it != entities.end(); ++it) {
        if (it.key() != "&amp;") decoded.replace(it.key(), it.value());
    }
    decoded.replace("&amp;", "&");
    decoded.replace(QChar(0xa0), ' ');
    return decoded.replace(space, " ").trimmed();
}

}  // namespace edition
