// kompendor-search-walk [ALMANAC]: the search window and the six navigation panels in a stand-in
// for the article window, for looking at them as a user would (under Xvfb, with screenshots).
// The stand-in shows a panel at the article window's place, buttons for the six panels, and
// what the article window would have been asked to show: article, title, anchor, terms.
// Without ALMANAC it writes the search almanac with 2,000 generated articles to a folder below
// the system's temporary folder and uses that.
#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>
#include <filesystem>

#include "controls/TemplateDialog.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "platform/ui/QtDialogs.h"
#include "text/GeneratedAlmanac.h"
#include "text/Search.h"
#include "text/SearchHost.h"
#include "text/TBPanel.h"
#include "text/TBPanelHost.h"

namespace {

class CWalkHost : public QWidget, public CTBPanelHost, public CSearchHost {
public:
    explicit CWalkHost(CDatabase& db) : m_db(db) {
        setWindowTitle(QStringLiteral("Artikelfenster (Platzhalter)"));
        // A palette, not a style sheet: a sheet would reach the panels' own controls.
        QPalette back = palette();
        back.setColor(QPalette::Window, QColor(0xAD, 0xBA, 0xCE));
        setPalette(back);
        setAutoFillBackground(true);
        resize(1000, 700);
        auto* bar = new QWidget(this);
        bar->setGeometry(4, 8, 990, 36);
        auto* row = new QHBoxLayout(bar);
        row->setContentsMargins(0, 0, 0, 0);
        const char* names[]
            = {"Länder", "Personen", "Organisationen", "Themen", "Glossar", "Hilfe"};
        for (int type = 1; type <= 6; ++type) {
            auto* button = new QPushButton(QString::fromUtf8(names[type - 1]), bar);
            button->setObjectName(QStringLiteral("panel%1").arg(type));
            connect(button, &QPushButton::clicked, this, [this, type] { ShowPanel(type); });
            row->addWidget(button);
        }
        auto* search = new QPushButton(QStringLiteral("Suche"), bar);
        connect(search, &QPushButton::clicked, this, [this] { OpenSearch(); });
        row->addWidget(search);
        m_log = new QLabel(this);
        m_log->setGeometry(280, 56, 700, 620);
        m_log->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        m_log->setWordWrap(true);
        m_log->setStyleSheet(QStringLiteral("background: white; padding: 12px; font-size: 13px;"));
        m_log->setText(QStringLiteral("Hier stünde der Artikel."));
        ShowPanel(1);
    }

    void ShowPanel(int type) {
        delete m_panel;
        m_panel = CreateTBPanel(type, this, *this, m_db);
        if (m_panel) m_panel->show();
    }

    void OpenSearch() {
        if (!m_search) {
            m_search = new CSearch(this, &m_db, this);
            m_search->move(geometry().right() + 20, geometry().top());
        }
        m_search->show();
        m_search->raise();
        m_search->activateWindow();
    }

    void ShowArticle(std::int32_t id, bool history, bool selectInPanel,
                     const std::vector<std::string>& terms, const std::string& anchor) override {
        std::string title;
        int typ = 0;
        DBRead(m_db, SqlFormat("SELECT * FROM HTML WHERE ID=%li", long(id)), "walk",
               [&](CRecordset& rs) {
                   if (rs.IsEOF()) return;
                   title = ToText(rs.GetFieldValue("Title"));
                   double t = 0;
                   ToNumber(rs.GetFieldValue("Typ"), t);
                   typ = static_cast<int>(t);
               });
        std::string joined;
        for (const std::string& t : terms) joined += (joined.empty() ? "" : ", ") + t;
        m_log->setText(QString::fromStdString(SqlFormat(
            "<h2>%s</h2><p>Artikel %ld (Typ %d)</p><p>Verlauf: %s, im Panel wählen: %s</p>"
            "<p>Anker: %s</p><p>Hervorgehoben: %s</p>",
            title.c_str(), long(id), typ, history ? "ja" : "nein", selectInPanel ? "ja" : "nein",
            anchor.empty() ? "(Anfang)" : anchor.c_str(),
            joined.empty() ? "(nichts)" : joined.c_str())));
        // As the article window: its panel follows the type, and selects the article when asked.
        if (typ >= 1 && typ <= 6 && (!m_panel || m_panel->PanelType() != typ)) ShowPanel(typ);
        if (m_panel && selectInPanel) m_panel->SelectID(id, anchor);
    }

    void OpenSearchArticle(QWidget*, std::int32_t id, const std::string& anchor,
                           const std::vector<std::string>& terms) override {
        ShowArticle(id, true, true, terms, anchor);
    }
    void OpenSearchGraph(QWidget*, std::int32_t id) override {
        m_log->setText(
            QStringLiteral("<h2>Grafik %1</h2><p>ginge an den Grafikbetrachter.</p>").arg(id));
    }

private:
    CDatabase& m_db;
    CTBPanel* m_panel = nullptr;
    CSearch* m_search = nullptr;
    QLabel* m_log = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_WALK_BINARY_DIR "/skin/UI/"));
    InstallQtMessagePresenter();
    std::string path;
    if (argc > 1) {
        path = argv[1];
    } else {
        GeneratedAlmanacOptions options;
        options.searchArticles = true;
        path = CreateGeneratedAlmanac(
            (std::filesystem::temp_directory_path() / "kompendor-search-walk").string(), options);
    }
    CDatabase db;
    db.Open(path, false, true, kAlmanacConnect);
    CWalkHost host(db);
    host.move(20, 20);
    host.show();
    host.OpenSearch();
    return app.exec();
}
