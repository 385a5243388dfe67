#include "table/CellInfoDlg.h"

#include <QPainter>
#include <QTimerEvent>

#include "data/ValueRoutines.h"
#include "noxctrls/StaticCtrl.h"
#include "table/Table.h"
#include "table/TableHost.h"
#include "table/YearLogic.h"
#include "text/NOXBrowser.h"

namespace {

QColor Colour(const CChartColor& c) { return QColor(c.r, c.g, c.b); }

}  // namespace

QImage DrawCellChart(const CCellChart& chart) {
    const int lines = static_cast<int>(chart.series.size());
    QImage image(kChartWidth, std::max(1, lines) * kChartLineHeight, QImage::Format_RGB32);
    // Point sizes as on the screen: 96 dots per inch.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Colour(kChartBackground));
    QPainter painter(&image);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    font.setWeight(QFont::DemiBold);
    painter.setFont(font);
    const int trackWidth = kChartWidth - kChartBarLeft;
    for (int j = 0; j < lines; ++j) {
        const CCellSeriesEntry& entry = chart.series[static_cast<std::size_t>(j)];
        const int y = j * kChartLineHeight;
        painter.setPen(Colour(kChartYearText));
        painter.drawText(QRect(0, y, kChartBarLeft, kChartLineHeight),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1:").arg(entry.year));
        painter.fillRect(QRect(kChartBarLeft, y, trackWidth, kChartLineHeight - 1),
                         Colour(kChartBarTrack));
        const CChartBar bar
            = ChartBar(entry.value, chart.maximum, chart.minimum, kChartBarLeft, trackWidth);
        painter.fillRect(QRect(bar.x, y, bar.width, kChartLineHeight - 1), Colour(bar.color));
        painter.setPen(Colour(entry.value >= 0 ? kChartValueText : kChartNegativeText));
        painter.drawText(QRect(0, y, kChartValueRight, kChartLineHeight),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QString::fromStdString(FormatNumber(entry.value)));
    }
    return image;
}

CCellInfoDlg::CCellInfoDlg(QWidget* parent, CCellInfoSetup setup)
    : CTemplateDialog(kTemplate, parent, Placement::Window),
      m_setup(std::move(setup)),
      m_pages(m_setup.database, m_setup.templateFolder) {
    setObjectName(QStringLiteral("CellInfo"));
    if (CStaticCtrl* title = Controls().Static(kTitle)) title->SetText(QString());
    m_pBrowser = new CNOXBrowser(this);
    // The window shows itself after an update, not when its empty page has loaded.
    m_pBrowser->SetShowOnLoad(false);
    m_pBrowser->CreateInPlace(this, Controls(), kPageArea,
                              QString::fromStdString(m_setup.templateFolder + "CI.htm"));
}

// The browser goes while the window's members are still there.
CCellInfoDlg::~CCellInfoDlg() { delete m_pBrowser; }

void CCellInfoDlg::SetTable(CTable* grid) { m_grid = grid; }

std::string CCellInfoDlg::WriteChart(const CCellChart& chart) {
    const std::string path = m_setup.tempFolder + kCellChartFile;
    if (!DrawCellChart(chart).save(QString::fromStdString(path), "BMP")) return "Dummy.gif";
    // The file keeps its name from update to update; a new address each time makes the
    // browser read it again instead of showing the picture it has seen.
    return path + "?" + std::to_string(++m_charts);
}

void CCellInfoDlg::Update(std::int32_t landId, std::int32_t valId, unsigned year) {
    if (CStaticCtrl* title = Controls().Static(kTitle))
        title->SetText(QString::fromStdString(m_pages.GetLandTitle(landId)));
    m_page = m_pages
                 .Compose(landId, valId, year,
                          [this](const CCellChart& chart) { return WriteChart(chart); })
                 .html;

    const int row = m_grid ? m_grid->GetSelectedRow() : 0;
    const int column = m_grid ? m_grid->GetSelectedColumn() : 0;
    const int rows = m_grid ? m_grid->GetRowCount() : 0;
    const int columns = m_grid ? m_grid->GetColumnCount() : 0;
    EnableControl(kUpButton, row > 1);
    EnableControl(kLeftButton, column > 1);
    EnableControl(kDownButton, row + 1 < rows);
    EnableControl(kRightButton, column + 1 < columns);
    EnableControl(kMapButton, canShowMap(m_setup.database, valId));

    m_valId = valId;
    m_showTimer.stop();
    m_pageTimer.start(kPageDelay, Qt::PreciseTimer, this);
}

void CCellInfoDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_pageTimer.timerId()) {
        m_pageTimer.stop();
        m_pBrowser->SetBodyHTML(QString::fromStdString(m_page));
        m_showTimer.start(kShowDelay, Qt::PreciseTimer, this);
        return;
    }
    if (event->timerId() == m_showTimer.timerId()) {
        m_showTimer.stop();
        show();
        emit updated();
        return;
    }
    CTemplateDialog::timerEvent(event);
}

void CCellInfoDlg::OnCommand(int id) {
    switch (id) {
        case kUpButton:
            if (m_grid) m_grid->MoveSelection(0, -1);
            break;
        case kDownButton:
            if (m_grid) m_grid->MoveSelection(0, 1);
            break;
        case kLeftButton:
            if (m_grid) m_grid->MoveSelection(-1, 0);
            break;
        case kRightButton:
            if (m_grid) m_grid->MoveSelection(1, 0);
            break;
        case kMapButton:
            if (m_setup.host) m_setup.host->ShowMapValues(m_valId, ReferenceYear());
            break;
        case kCloseButton:
            if (m_grid) m_grid->ClearSelection(true);
            close();
            deleteLater();
            break;
        default:
            CTemplateDialog::OnCommand(id);
            break;
    }
}
