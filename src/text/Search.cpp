#include "text/Search.h"

#include <QLineEdit>
#include <QTimer>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "noxctrls/CheckCtrl.h"
#include "noxctrls/StaticCtrl.h"
#include "text/SearchField.h"
#include "text/SearchHost.h"
#include "viewers/ListWnd.h"

CSearch::CSearch(QWidget* parent, CDatabase* database, CSearchHost* host)
    : CTemplateDialog(188, parent), m_database(database), m_host(host) {
    setObjectName(QStringLiteral("Search"));
    m_edit = Controls().Edit(kQueryField);
    if (m_edit) connect(m_edit, &QLineEdit::returnPressed, this, &CSearch::Search);

    // The hit list starts with a query that finds nothing, and says nothing about it until the
    // first search.
    m_list = new CListWnd(this);
    m_list->SetBackColour(QColor(0x3F, 0x48, 0x5A));
    m_list->SetShowEmptyText(false);
    m_list->SetScrollAmounts(20, 0);
    m_list->Create(database, "SELECT * FROM HTML WHERE Title LIKE '~~~~'", "ID", "Title", 1, 0, 0,
                   this, kHitList, 0, "CSearchListItem");

    m_query.SetSource(database, "HTML", "SearchText");
    m_query.Prepare("");
    m_query.Translate();
    if (m_edit) m_edit->setFocus();
}

CSearch::~CSearch() = default;

void CSearch::showEvent(QShowEvent* event) {
    CTemplateDialog::showEvent(event);
    // The index is built when the window has been drawn, while the user types.
    if (!m_indexTried) QTimer::singleShot(0, this, &CSearch::BuildIndex);
}

void CSearch::BuildIndex() {
    if (m_indexTried || !m_database) return;
    m_indexTried = true;
    CDBBusyCursor busy;
    m_index.Open(*m_database, "HTML", "ID", "SearchText");
}

QString CSearch::CountText() const {
    const CStaticCtrl* count = Controls().Static(kCount);
    return count ? count->Text() : QString();
}

bool CSearch::WholeWords() const {
    const CCheckCtrl* box = Controls().Check(kWholeWords);
    return box && box->IsChecked();
}

void CSearch::SetWholeWords(bool on) {
    if (CCheckCtrl* box = Controls().Check(kWholeWords)) box->SetChecked(on);
}

void CSearch::Search() {
    const QString typed = m_edit ? m_edit->text() : QString();
    m_query.SetWholeWords(WholeWords());
    m_query.Prepare(typed.toStdString());
    m_query.Translate();
    if (m_edit) {
        m_edit->setText(QString::fromStdString(m_query.GetCleanText()));
        m_edit->end(false);
    }

    BuildIndex();
    const std::string condition = m_index.Condition(m_query);
    m_list->SetShowEmptyText(true);
    m_list->ReQuery(SqlFormat("SELECT * FROM HTML WHERE %s ORDER BY Title ASC", condition.c_str()));
    if (CStaticCtrl* count = Controls().Static(kCount))
        count->SetText(
            QString::fromStdString(SqlFormat("Gefundene Einträge: %li", m_list->GetRecordCount())));
}

void CSearch::InsertOperator(const QString& op, bool spaceBefore) {
    if (!m_edit) return;
    const QString text = m_edit->text();
    std::size_t start = static_cast<std::size_t>(m_edit->cursorPosition());
    std::size_t end = start;
    if (m_edit->hasSelectedText()) {
        start = static_cast<std::size_t>(m_edit->selectionStart());
        end = start + static_cast<std::size_t>(m_edit->selectedText().size());
    }
    const CFieldEdit edit
        = ::InsertOperator(text.toStdU16String(), start, end, op.toStdU16String(), spaceBefore);
    m_edit->setText(QString::fromStdU16String(edit.text));
    m_edit->setCursorPosition(static_cast<int>(edit.caret));
    m_edit->setFocus();
}

void CSearch::OpenHit(long id) {
    if (!m_database || id <= 0) return;
    double typ = 0;
    const bool read = DBRead(*m_database, SqlFormat("SELECT * FROM HTML WHERE ID=%li", id),
                             "CSearch::OnClickList",
                             [&](CRecordset& rs) { ToNumber(rs.GetFieldValue("Typ"), typ); });
    if (!read || !m_host) return;
    if (static_cast<int>(typ) == 9) {
        m_host->OpenSearchGraph(this, static_cast<std::int32_t>(id));
    } else {
        std::vector<std::string> terms;
        m_query.GetTerms(terms);
        m_host->OpenSearchArticle(this, static_cast<std::int32_t>(id), std::string(), terms);
    }
}

void CSearch::OnCommand(int id) {
    switch (id) {
        case kOr:
            InsertOperator(QStringLiteral("ODER "), true);
            break;
        case kAnd:
            InsertOperator(QStringLiteral("UND "), true);
            break;
        case kNot:
            InsertOperator(QStringLiteral("NICHT "), true);
            break;
        case kOpen:
            InsertOperator(QStringLiteral("("), true);
            break;
        case kCloseGroup:
            InsertOperator(QStringLiteral(") "), false);
            break;
        case kSearchButton:
            Search();
            break;
        case kHelp:
            if (m_host) m_host->OpenSearchArticle(this, kHelpArticle, kHelpAnchor, {});
            break;
        case kClose:
            hide();
            break;
        default:
            break;
    }
}

bool CSearch::event(QEvent* event) {
    if (event->type() == CListChoiceEvent::kType) {
        const auto* choice = static_cast<CListChoiceEvent*>(event);
        if (choice->ControlId() == kHitList) OpenHit(choice->Key());
        return true;
    }
    return CTemplateDialog::event(event);
}
