// The navigation trees: Nav1 (continents, regions, countries and their sections), Nav3
// (organisations by kind), Nav4 (the data fields, as in Val) and Nav6 (the help); and the
// continent overviews that the first levels of Nav1 open.
#include <algorithm>
#include <cmath>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionHtml.h"

namespace edition {

namespace {

// An anchor name of a region: lower case ASCII.
QString Slug(const QString& text) {
    QString slug;
    for (QChar c : text.toLower()) {
        if (c == u'ä') {
            slug += "ae";
        } else if (c == u'ö') {
            slug += "oe";
        } else if (c == u'ü') {
            slug += "ue";
        } else if (c == u'ß') {
            slug += "ss";
        } else if (c.isLetterOrNumber() && c.unicode() < 128) {
            slug += c;
        } else if (!slug.endsWith('-')) {
            slug += '-';
        }
    }
    return slug;
}

// Adds the sections of an article below a node; parts (level 3) below their section.
void AddSections(std::vector<CNavNode>& tree, int& next, int parent, const CArticle& article) {
    int sectionNode = parent;
    for (const CArticle::CSection& s : article.sections) {
        const int pid = s.level >= 3 ? sectionNode : parent;
        tree.push_back({next, pid, s.title, article.id, s.anchor});
        if (s.level < 3) sectionNode = next;
        ++next;
    }
}

}  // namespace

bool CEditionBuild::BuildNavigation() {
    const CFacts& f = m_facts;
    // Continent overviews (Typ 1 without a country), one per continent, with a section per
    // region.
    std::map<QString,
             std::map<QString, std::vector<const CLand*>, bool (*)(const QString&, const QString&)>,
             bool (*)(const QString&, const QString&)>
        continents(&ByGermanTitle);
    for (const CLand& land : m_lands) {
        const QString continent = f.Text(101, land.id);
        const QString region = f.Text(102, land.id);
        if (continent.isEmpty()) continue;
        auto [it, added] = continents.try_emplace(
            continent,
            std::map<QString, std::vector<const CLand*>, bool (*)(const QString&, const QString&)>(
                &ByGermanTitle));
        it->second[region.isEmpty() ? continent : region].push_back(&land);
    }
    std::vector<CNavNode>& nav1 = m_nav["Nav1"];
    int next = 1, overview = kCountryArticleBase + 9001;
    for (auto& [continent, regions] : continents) {
        CArticle a;
        a.id = overview++;
        a.typ = 1;
        a.title = continent;
        QString& html = a.content;
        int countries = 0;
        for (auto& [region, lands] : regions) {
            std::sort(lands.begin(), lands.end(), [](const CLand* x, const CLand* y) {
                return ByGermanTitle(x->title, y->title);
            });
            countries += int(lands.size());
        }
        html
            += Paragraph(QString("%1 umfasst in dieser Ausgabe %2 Länder und Gebiete in %3 "
                                 "Regionen. Die Tabellen nennen Hauptstadt, Fläche und "
                                 "Einwohnerzahl; ein Klick auf den Namen öffnet den Länderartikel.")
                             .arg(continent == "Antarktis" ? "Die Antarktis" : continent)
                             .arg(countries)
                             .arg(regions.size()),
                         "einleitung");
        const int continentNode = next++;
        nav1.push_back({continentNode, 0, continent, a.id, QString()});
        for (auto& [region, lands] : regions) {
            const QString anchor = "region-" + Slug(region);
            html += SectionHeading(anchor, HtmlEscape(region));
            a.sections.emplace_back(anchor, region, 2);
            std::vector<QStringList> rows;
            for (const CLand* land : lands) {
                auto population = f.Latest(201, land->id);
                if (!population) population = f.Latest(202, land->id);
                auto area = f.At(103, land->id, 0);
                rows.push_back({LandLink(*land), HtmlEscape(f.Text(104, land->id)),
                                area ? GermanNumber(*area, 0) : QString("–"),
                                population ? GermanNumber(population->second, 2) : QString("–")});
            }
            html += DataTable({"Land", "Hauptstadt", "Fläche (km²)", "Einwohner (Mio.)"}, rows,
                              {2, 3});
            const int regionNode = next++;
            nav1.push_back({regionNode, continentNode, region, a.id, anchor});
            for (const CLand* land : lands) {
                const CArticle* article = ArticleById(kCountryArticleBase + land->id);
                if (!article) continue;
                const int countryNode = next++;
                nav1.push_back({countryNode, regionNode, land->title, article->id, QString()});
                AddSections(nav1, next, countryNode, *article);
            }
        }
        html += Note("Einwohner: neuestes Jahr der Penn World Table, ersatzweise der Weltbank.");
        m_articles.push_back(std::move(a));
    }

    // Organisations by kind.
    std::vector<CNavNode>& nav3 = m_nav["Nav3"];
    next = 1;
    QStringList kinds;
    for (const COrganisation& o : m_organisations) {
        if (!kinds.contains(o.kind)) kinds << o.kind;
    }
    for (const QString& kind : kinds) {
        const int kindNode = next++;
        const COrganisation* first = nullptr;
        std::vector<const COrganisation*> members;
        for (const COrganisation& o : m_organisations) {
            if (o.kind == kind) members.push_back(&o);
        }
        std::sort(members.begin(), members.end(),
                  [](const auto* x, const auto* y) { return ByGermanTitle(x->name, y->name); });
        first = members.front();
        nav3.push_back({kindNode, 0, kind, first->id, QString()});
        for (const COrganisation* o : members) {
            const int node = next++;
            nav3.push_back({node, kindNode, o->name, o->id, QString()});
            if (const CArticle* article = ArticleById(o->id))
                AddSections(nav3, next, node, *article);
        }
    }

    // The data fields, in the order of Val.
    std::vector<CNavNode>& nav4 = m_nav["Nav4"];
    next = 1;
    std::map<int, int> groupNodes;
    for (const CFieldDef& def : kFields) {
        const CArticle* article = ArticleById(kTopicBase + def.id);
        if (!article) continue;
        const int node = next++;
        const int pid = def.group == 0 ? 0 : groupNodes[def.group];
        nav4.push_back({node, pid, QString::fromUtf8(def.title), article->id, QString()});
        if (def.group == 0) {
            groupNodes[def.id] = node;
        } else {
            AddSections(nav4, next, node, *article);
        }
    }

    // The help.
    std::vector<CNavNode>& nav6 = m_nav["Nav6"];
    next = 1;
    for (int id : {kHelpId, kHelpId + 1}) {
        const CArticle* article = ArticleById(id);
        if (!article) continue;
        const int node = next++;
        nav6.push_back({node, 0, article->title, id, QString()});
        AddSections(nav6, next, node, *article);
    }
    for (const auto& [table, nodes] : m_nav) m_result.navNodes += int(nodes.size());
    m_result.articles = int(m_articles.size());
    return true;
}

}  // namespace edition
