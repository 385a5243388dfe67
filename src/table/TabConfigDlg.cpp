#include "table/TabConfigDlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScreen>
#include <QTimer>

#include "data/ErrorReporter.h"
#include "noxctrls/CheckCtrl.h"
#include "platform/MessageBox.h"
#include "table/SelectionDlg.h"
#include "text/NOXTreeCtrl.h"

CTabConfigDlg::CTabConfigDlg(QWidget* parent, CDatabase* database, CTableHost* host)
    : CTemplateDialog(168, parent, Placement::Window),
      m_database(database),
      m_host(host),
      m_allCountries(HostAllCountries(host)) {
    m_countryTree = new CNOXTreeCtrl(this);
    if (!Controls().Replace(1021, m_countryTree)) m_countryTree->setGeometry(12, 102, 336, 338);
    m_dataTree = new CNOXTreeCtrl(this);
    if (!Controls().Replace(1020, m_dataTree)) m_dataTree->setGeometry(372, 74, 336, 366);
    if (CCheckCtrl* all = Controls().Check(1038)) all->SetChecked(m_allCountries);
    m_search = Controls().Edit(1028);
    if (m_search)
        connect(m_search, &QLineEdit::textChanged, this, &CTabConfigDlg::OnChangeEditland);
}

CTabConfigDlg::~CTabConfigDlg() = default;

void CTabConfigDlg::SetSelection(const IdList& countries, const IdList& dataIds) {
    m_presetCountries = countries;
    m_presetDataIds = dataIds;
}

void CTabConfigDlg::FillTrees() {
    if (m_filled) return;
    m_filled = true;
    CDBBusyCursor busy;
    InitCountryTree(*m_countryTree, m_database, m_allCountries);
    InitDataTree(*m_dataTree, m_database);
}

int CTabConfigDlg::exec() {
    // The trees fill while the window stands out of view; the timer brings it in once the
    // event loop runs.
    move(x(), -1000);
    FillTrees();
    QTimer::singleShot(1, this, &CTabConfigDlg::OnOpenTimer);
    return QDialog::exec();
}

void CTabConfigDlg::OnOpenTimer() {
    CheckIds(*m_countryTree, m_presetCountries);
    CheckIds(*m_dataTree, m_presetDataIds);

    // Centred on the owner, or on the screen without one.
    QRect area;
    if (QWidget* owner = parentWidget())
        area = QRect(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(area.center());
    move(frame.topLeft());
    raise();
    activateWindow();
    m_countryTree->setFocus();
    update();
}

void CTabConfigDlg::reject() { done(kCancel); }

void CTabConfigDlg::TestSelection(int view) {
    m_countries = CheckedIds(*m_countryTree);
    m_dataIds = CheckedIds(*m_dataTree);
    if (m_countries.empty()) {
        ShowMessageBox("Bitte wählen Sie zunächst die gewünschten Länder aus!", kCaptionHinweis,
                       MsgIcon::Information);
        return;
    }
    if (m_dataIds.empty()) {
        ShowMessageBox("Bitte wählen Sie zunächst die gewünschten Datenfelder aus!",
                       kCaptionHinweis, MsgIcon::Information);
        return;
    }
    done(view);
}

void CTabConfigDlg::SaveProfile(const CNOXTreeCtrl* tree, const char* extension) {
    if (m_host) m_host->SaveProfileAsk(extension, CheckedIds(*tree));
}

void CTabConfigDlg::OnCommand(int id) {
    switch (id) {
        case 1004:
            TestSelection(kLaenderdaten);
            break;
        case 1005:
            TestSelection(kLaendervergleich);
            break;
        case 1003:
        case 1006:
            done(kCancel);
            break;
        case 1008:
        case 1026:
            LoadProfileInto(m_host, *m_countryTree, "clt", Controls().Static(1026));
            break;
        case 1009:
        case 1027:
            LoadProfileInto(m_host, *m_dataTree, "vlt", Controls().Static(1027));
            break;
        case 1007:
            SaveProfile(m_countryTree, "clt");
            break;
        case 1010:
            SaveProfile(m_dataTree, "vlt");
            break;
        case 1011:
            if (m_host) m_host->DeleteProfile("clt");
            break;
        case 1012:
            if (m_host) m_host->DeleteProfile("vlt");
            break;
        case 1013:
            m_countryTree->UncheckAll();
            break;
        case 1014:
            m_dataTree->UncheckAll();
            break;
        case 1038: {
            const CCheckCtrl* all = Controls().Check(1038);
            m_allCountries = all ? all->IsChecked() : !m_allCountries;
            if (m_host) m_host->SetAllCountries(m_allCountries);
            RefillCountryTree(*m_countryTree, m_allCountries);
            break;
        }
        default:
            CTemplateDialog::OnCommand(id);
    }
}

void CTabConfigDlg::OnChangeEditland(const QString& text) {
    SelectCountryByPrefix(*m_countryTree, m_database, text, "CTabConfigDlg::OnChangeEditland");
}

void CTabConfigDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnCommand(1004);
        event->accept();
        return;
    }
    CTemplateDialog::keyPressEvent(event);
}
