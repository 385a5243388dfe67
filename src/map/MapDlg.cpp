#include "map/MapDlg.h"

#include <QCloseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "controls/FlatMenu.h"
#include "map/MapLegend.h"
#include "map/MapSearch.h"
#include "noxctrls/StaticCtrl.h"
#include "table/YearLogic.h"
#include "viewers/ImageWnd.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// The renderer's window inside the map window, as the template places it.
constexpr int kMapX = 4, kMapY = 60, kMapWidth = 782, kMapHeight = 390;

}  // namespace

CMapDlg::CMapDlg(QWidget* parent, CMapSetup setup)
    : CTemplateDialog(kTemplate, parent, Placement::Window), m_setup(std::move(setup)) {
    setObjectName(QStringLiteral("Map"));
    m_pVMap = CreateVMap();
    if (m_pVMap) m_pVMap->Init();
    for (int id : {kLongName, kStatusCountry, kStatusValue, kStatusYear}) SetText(id, {});
    SetZoom(1);
    m_timer = startTimer(100);
}

CMapDlg::~CMapDlg() { ReleaseWindows(); }

CImageWnd* CMapDlg::LegendWindow() const { return m_pLegend; }
CMapSearch* CMapDlg::SearchWindow() const { return m_pSearch; }

void CMapDlg::ReleaseWindows() {
    if (m_timer) killTimer(m_timer);
    m_timer = 0;
    delete m_pSearch;
    delete m_pLegend;
    if (m_pVMap) {
        m_pVMap->SetNotify(nullptr);
        DestroyVMap(m_pVMap);
        m_pVMap = nullptr;
    }
}

void CMapDlg::SetText(int id, const std::string& text) {
    if (CStaticCtrl* c = Controls().Static(id)) c->SetText(Q(text));
}

void CMapDlg::SetParams(std::int32_t valId, int year) {
    m_valId = valId;
    m_year = year;
}

void CMapDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer) {
        CTemplateDialog::timerEvent(event);
        return;
    }
    killTimer(m_timer);
    m_timer = 0;
    show();
    if (m_pVMap) {
        m_pVMap->Create(kMapX, kMapY, kMapWidth, kMapHeight, "Test", m_setup.mapDir.c_str(), this);
        m_pVMap->SetNotify(this);
        if (QWidget* w = m_pVMap->GetWindow()) {
            w->raise();
            w->setFocus();
        }
    }
    Display(m_valId, m_year);
    update();
    emit ready();
}

void CMapDlg::Display(std::int32_t valId, int year) {
    if (!m_setup.database) return;
    m_display = ComputeMapDisplay(*m_setup.database, m_setup.mapDir, valId, year, m_setup.defaultYear);
    m_valId = valId;
    m_year = m_display.year;
    SetText(kLongName, m_display.longName);
    SetText(kTitle, m_display.title);
    SetText(kYear, std::to_string(unsigned(m_year)));
    if (m_pVMap) m_pVMap->SetColors(m_display.block.data());
    if (QWidget* w = m_pVMap ? m_pVMap->GetWindow() : nullptr) w->repaint();
    // The status line showed the previous field's value: show the country again.
    if (m_lastMapId != kNoMapId) {
        const int shown = m_lastMapId;
        m_lastMapId = -1;
        ShowToolTip(shown);
    }
    if (m_pLegend) ShowLegend();
}

void CMapDlg::ShowToolTip(int mapId) {
    if (mapId == m_lastMapId) return;
    m_lastMapId = mapId;
    if (!m_setup.database) return;
    const CMapStatus status = ComputeMapStatus(*m_setup.database, m_display, mapId);
    SetText(kStatusCountry, status.country);
    if (CStaticCtrl* value = Controls().Static(kStatusValue)) {
        value->SetText(Q(status.value));
        value->SetBackColor(Q(status.valueBack));
        if (!status.valueText.empty()) value->SetTextColor(Q(status.valueText));
    }
    if (CStaticCtrl* year = Controls().Static(kStatusYear)) {
        year->SetText(Q(status.year));
        if (!status.yearColor.empty()) year->SetTextColor(Q(status.yearColor));
    }
}

void CMapDlg::ShowLegend() {
    const QImage legend = DrawMapLegend(m_display);
    const bool first = !m_pLegend;
    if (first) {
        m_pLegend = new CImageWnd(this, m_setup.viewerEnv);
        m_pLegend->setObjectName(QStringLiteral("MapLegend"));
    }
    m_pLegend->ShowBitmap(legend, Q(m_display.title));
    if (first) {
        // Beside the map rather than over it: right of it where the screen has room, else left.
        const QRect frame = frameGeometry();
        const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
        const QSize size = m_pLegend->frameGeometry().size();
        int x = frame.right() + 8;
        if (screen.isValid() && x + size.width() > screen.right()) x = frame.left() - 8 - size.width();
        if (!screen.isValid() || x >= screen.left()) {
            const int y = screen.isValid() ? std::max(screen.top(), std::min(frame.top(), screen.bottom() - size.height()))
                                           : frame.top();
            m_pLegend->move(x, y);
        }
    }
}

void CMapDlg::SetZoom(int level) {
    if (level == 0) level = 1;
    if (level > 5) level = 5;
    if (level < 1) level = 1;
    if (level != m_zoom && m_pVMap) {
        m_zoom = std::uint8_t(level);
        double lon = 0, lat = 0;
        m_pVMap->GetView(&lon, &lat);
        m_pVMap->SetView(lon, lat, m_zoom);
    }
    UpdateZoomButtons();
}

void CMapDlg::UpdateZoomButtons() {
    EnableControl(kZoomIn, m_zoom < 5);
    EnableControl(kZoomOut, m_zoom > 1);
    EnableControl(kZoomWorld, m_zoom > 1);
}

void CMapDlg::Pan(int dx, int dy) {
    if (!m_pVMap) return;
    const int d = 10 - m_zoom;
    double lon = 0, lat = 0;
    m_pVMap->GetView(&lon, &lat);
    m_pVMap->SetView(lon + d * dx, lat + d * dy, m_zoom);
}

void CMapDlg::ZoomToCountry(int mapId) {
    if (!m_pVMap) return;
    SetZoom(5);
    m_pVMap->ShowCountry(mapId, 0);
}

void CMapDlg::Notify(std::intptr_t value, int code) {
    switch (code) {
        case 1:
            ShowToolTip(int(value));
            break;
        case 2:
            // The wheel changed the level: the buttons follow it.
            if (value >= 1 && value <= 5) {
                m_zoom = std::uint8_t(value);
                UpdateZoomButtons();
            }
            break;
        case 4:
            ZoomToCountry(int(value));
            break;
        default:
            break;
    }
}

QPoint CMapDlg::BelowControl(int id) const {
    QWidget* c = Controls().Control(id);
    if (!c) return mapToGlobal(QPoint(0, 0));
    return c->mapToGlobal(QPoint(0, c->height())) + QPoint(-3, 2);
}

int CMapDlg::TrackMenu(CFlatMenu& menu, const QPoint& pos) {
    return menu.TrackPopup(pos.x(), pos.y(), this, true);
}

void CMapDlg::OpenValueDropdown() {
    if (!m_setup.database) return;
    CMapFieldMenu model;
    if (!ReadMapFieldMenu(*m_setup.database, model)) return;
    auto style = [](CFlatMenu& m) {
        m.SetStyle(QStringLiteral("MS Sans Serif"), 8, QColor(0x92, 0x88, 0x75), QColor(0x43, 0x43, 0x43),
                   QColor(0xD4, 0xCB, 0xAD), QColor(0xFF, 0xFF, 0xFF), QColor(0x91, 0x8B, 0x79));
    };
    CFlatMenu menu;
    style(menu);
    menu.Attach(-1);
    // One submenu per group, as many as there are.
    std::vector<std::unique_ptr<CFlatMenu>> groups;
    for (const CMapFieldMenu::Group& g : model.groups) {
        auto sub = std::make_unique<CFlatMenu>();
        style(*sub);
        sub->Attach(-1);
        for (int k : g.items) sub->AppendItem(0, Q(model.titles[k]), k + 1);
        menu.AppendSubmenu(0, Q(g.title), sub.get());
        groups.push_back(std::move(sub));
    }
    const int chosen = TrackMenu(menu, BelowControl(kTitle));
    if (chosen >= 1 && chosen <= int(model.ids.size())) {
        update();
        Display(model.ids[chosen - 1], m_setup.defaultYear);
    }
}

void CMapDlg::OpenYearDropdown() {
    if (!m_setup.database) return;
    std::vector<unsigned> years;
    if (!CollectYears(m_setup.database, m_valId, years)) return;
    CFlatMenu menu;
    menu.SetStyle(QStringLiteral("MS Sans Serif"), 8, QColor(0x92, 0x88, 0x75), QColor(0x5E, 0x79, 0x5E),
                  QColor(0xB6, 0xD9, 0xAC), QColor(0xFF, 0xFF, 0xFF), QColor(0x75, 0x8A, 0x6F));
    menu.Attach(-1);
    for (std::size_t i = 0; i < years.size(); ++i)
        menu.AppendItem(0, QString::number(years[i]), int(i) + 1);
    const int chosen = TrackMenu(menu, BelowControl(kYear));
    if (chosen >= 1 && chosen <= int(years.size())) {
        update();
        Display(m_valId, int(years[chosen - 1]));
    }
}

void CMapDlg::OpenSearch() {
    if (m_pSearch) {
        m_pSearch->raise();
        m_pSearch->activateWindow();
        m_pSearch->setFocus();
        return;
    }
    m_pSearch = new CMapSearch(this, m_setup.database);
    // Left of the map where the screen has room (the legend goes to the right), else over
    // the map's right edge.
    const QRect frame = frameGeometry();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect();
    QPoint at = mapToGlobal(QPoint(width() - m_pSearch->width() - 16, 64));
    if (screen.isValid() && frame.left() - 8 - m_pSearch->width() >= screen.left())
        at = QPoint(frame.left() - 8 - m_pSearch->width(), frame.top());
    m_pSearch->move(at);
    m_pSearch->show();
    m_pSearch->activateWindow();
}

void CMapDlg::OnCommand(int id) {
    switch (id) {
        case kClose: close(); break;
        case kZoomIn: SetZoom(m_zoom + 1); break;
        case kZoomOut: SetZoom(m_zoom - 1); break;
        case kZoomWorld: SetZoom(1); break;
        case kLegend: ShowLegend(); break;
        case kSearch: OpenSearch(); break;
        case kArrowUp: Pan(0, 1); break;
        case kArrowDown: Pan(0, -1); break;
        case kArrowRight: Pan(1, 0); break;
        case kArrowLeft: Pan(-1, 0); break;
        case kTitle:
        case kFieldArrow: OpenValueDropdown(); break;
        case kYear:
        case kYearArrow: OpenYearDropdown(); break;
        default: CTemplateDialog::OnCommand(id); break;
    }
}

void CMapDlg::closeEvent(QCloseEvent* event) {
    ReleaseWindows();
    event->accept();
    deleteLater();
}
