#include "text/TBPanels.h"

#include <QLineEdit>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "text/NOXTreeCtrl.h"
#include "text/TBPanelHost.h"
#include "viewers/ListWnd.h"

namespace {

constexpr int kTree = 1015;
constexpr int kSearchField = 1025;
constexpr int kList = 1050;

}  // namespace

QFont PanelFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    return font;
}

namespace {

// A typed prefix as a LIKE pattern's start: its quotes and wildcards match only themselves.
std::string Prefix(const QString& text) { return SqlQuote(LikeEscape(text.toStdString())) + "*"; }

std::int32_t Integer(const CVariant& value) {
    double number = 0;
    ToNumber(value, number);
    return static_cast<std::int32_t>(number);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

CTBTreePanel::CTBTreePanel(int type, int templateId, const char* table, const char* className,
                           QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBPanel(type, templateId, parent, host, database), m_table(table), m_className(className) {
    m_tree = new CNOXTreeCtrl(this);
    if (!Controls().Replace(kTree, m_tree)) m_tree->setGeometry(8, 36, width() - 16, height() - 44);
    m_tree->setFont(PanelFont());
    m_tree->SetItemBitmaps(186, 187, 185);
    m_tree->SetColours(QColor(241, 246, 255), QColor(255, 187, 187), QColor(255, 187, 187),
                       QColor(123, 123, 165), QColor(81, 96, 110), QColor(81, 96, 110));
    m_tree->InitTree(database, m_table, "");
    m_tree->Refresh();
    // The selection itself is followed: for a click the tree reports the new current item
    // before the item is selected.
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this,
            [this] { OnSelchangedTree(m_tree->GetSelectedID()); });

    m_edit = Controls().Edit(kSearchField);
    if (m_edit) connect(m_edit, &QLineEdit::textChanged, this, &CTBTreePanel::OnChangeEdit);
}

std::string CTBTreePanel::Context(const char* operation) const {
    return m_className + "::" + operation;
}

void CTBTreePanel::OnSelchangedTree(std::int32_t id) {
    // The tree also reports the selection the article window asked for: that article is
    // shown already and must not be opened (and entered in the history) once more.
    if (m_selecting || id < 1 || !m_database) return;
    std::int32_t htmlId = 0;
    std::string link;
    DBRead(*m_database, SqlFormat("SELECT * FROM %s WHERE ID=%li", m_table.c_str(), long(id)),
           Context("OnSelchangedTree"), [&](CRecordset& rs) {
               if (rs.IsEOF()) return;
               htmlId = Integer(rs.GetFieldValue("HTMLID"));
               link = ToText(rs.GetFieldValue("Link"));
           });
    if (htmlId > 0 && m_host) m_host->ShowArticle(htmlId, true, false, {}, link);
}

void CTBTreePanel::SelectID(std::int32_t htmlId, const std::string& anchor) {
    if (!m_database) return;
    // The anchor is compared with LIKE for its case only; its wildcards match themselves.
    const std::string sql
        = anchor.empty()
              ? SqlFormat("SELECT * FROM %s WHERE HTMLID=%li", m_table.c_str(), long(htmlId))
              : SqlFormat("SELECT * FROM %s WHERE HTMLID=%li AND Link LIKE '%s'", m_table.c_str(),
                          long(htmlId), SqlQuote(LikeEscape(anchor)).c_str());
    std::int32_t node = 0;
    DBRead(*m_database, sql, Context("Select"), [&](CRecordset& rs) {
        if (!rs.IsEOF()) node = Integer(rs.GetFieldValue("ID"));
    });
    if (node < 1) return;
    m_selecting = true;
    m_tree->SelectID(node, true);
    m_selecting = false;
}

void CTBTreePanel::OnChangeEdit(const QString& text) {
    if (!m_database) return;
    std::int32_t node = 0;
    DBRead(*m_database,
           SqlFormat("SELECT * FROM %s WHERE PID=0 AND Title LIKE '%s'", m_table.c_str(),
                     Prefix(text).c_str()),
           Context("OnChangeEdit"), [&](CRecordset& rs) {
               if (!rs.IsEOF()) node = Integer(rs.GetFieldValue("ID"));
           });
    // Nothing found: the tree stays as it is.
    if (node > 0) m_tree->SelectID(node, false, true);
}

CTBPanel1::CTBPanel1(QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBTreePanel(1, 184, "Nav1", "CTBPanel1", parent, host, database) {}
CTBPanel3::CTBPanel3(QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBTreePanel(3, 196, "Nav3", "CTBPanel3", parent, host, database) {}
CTBPanel4::CTBPanel4(QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBTreePanel(4, 198, "Nav4", "CTBPanel4", parent, host, database) {}
CTBPanel6::CTBPanel6(QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBTreePanel(6, 268, "Nav6", "CTBPanel6", parent, host, database) {}

// ---------------------------------------------------------------------------------------------

CTBListPanel::CTBListPanel(int type, int templateId, const std::string& query, const char* itemKind,
                           QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBPanel(type, templateId, parent, host, database) {
    m_list = new CListWnd(this);
    m_list->SetBackColour(QColor(0x5F, 0x5F, 0x8A));
    m_list->SetScrollAmounts(16, 0);
    if (Controls().Control(kList)) {
        m_list->Create(database, query, "ID", "Title", 1, 0, 0, this, kList, 0, itemKind);
    } else {
        m_list->Create(database, query, "ID", "Title", 1, 0, 0, this,
                       QRect(8, 36, width() - 16, height() - 44), kList, 0, itemKind);
    }
    m_list->setFont(PanelFont());

    m_edit = Controls().Edit(kSearchField);
    if (m_edit) connect(m_edit, &QLineEdit::textChanged, this, &CTBListPanel::OnChangeEdit);
}

void CTBListPanel::SelectID(std::int32_t htmlId, const std::string&) {
    m_list->Select(htmlId, true);
}

void CTBListPanel::OnChangeEdit(const QString& text) {
    m_list->FindFirst("Title LIKE '" + Prefix(text) + "'", true);
}

bool CTBListPanel::event(QEvent* event) {
    if (event->type() == CListChoiceEvent::kType) {
        const auto* choice = static_cast<CListChoiceEvent*>(event);
        if (choice->ControlId() == kList && choice->Key() > 0 && m_host)
            m_host->ShowArticle(static_cast<std::int32_t>(choice->Key()), true, false, {}, {});
        return true;
    }
    return CTBPanel::event(event);
}

CTBPanel2::CTBPanel2(QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBListPanel(2, 183, "SELECT * FROM HTML WHERE TYP=99", "CPersonenListItem", parent, host,
                   database) {
    ApplyFilter(3);
}

std::string CTBPanel2::FilterQuery(int filter) {
    switch (filter) {
        case 1:
            return "SELECT * FROM HTML WHERE Typ=2 AND SubTyp=2 ORDER BY Title ASC";
        case 2:
            return "SELECT * FROM HTML WHERE Typ=2 AND SubTyp=3 ORDER BY Title ASC";
        default:
            return "SELECT * FROM HTML WHERE Typ=2 ORDER BY Title ASC";
    }
}

void CTBPanel2::ApplyFilter(int filter) {
    m_filter = filter;
    EnableControl(kFilter1, filter != 1);
    EnableControl(kFilter2, filter != 2);
    EnableControl(kFilter3, filter != 3);
    List()->ReQuery(FilterQuery(filter), true);
}

void CTBPanel2::OnCommand(int id) {
    switch (id) {
        case kFilter1:
            ApplyFilter(1);
            break;
        case kFilter2:
            ApplyFilter(2);
            break;
        case kFilter3:
            ApplyFilter(3);
            break;
        default:
            CTBListPanel::OnCommand(id);
            break;
    }
}

CTBPanel5::CTBPanel5(QWidget* parent, CTBPanelHost* host, CDatabase* database)
    : CTBListPanel(5, 200, "SELECT * FROM HTML WHERE TYP=5 ORDER BY Title ASC", "CSelectListItem",
                   parent, host, database) {
    List()->SetBackColour(QColor(0x3F, 0x48, 0x5A));
}
