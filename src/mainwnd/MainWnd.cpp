#include "mainwnd/MainWnd.h"

#include <unistd.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/Settings.h"
#include "controls/BitmapResource.h"
#include "controls/FlatMenu.h"
#include "controls/TemplateDialog.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "mainwnd/CommandBar.h"
#include "mainwnd/DeleteProfileDlg.h"
#include "mainwnd/DialogPlacement.h"
#include "mainwnd/MediumCheck.h"
#include "mainwnd/ProfileMenu.h"
#include "mainwnd/Profiles.h"
#include "mainwnd/SaveProfileDlg.h"
#include "mainwnd/Workspace.h"
#include "map/MapDlg.h"
#include "noxctrls/PushCtrl.h"
#include "platform/AtomicFile.h"
#include "platform/DriveType.h"
#include "platform/MessageBox.h"
#include "platform/StartupTrace.h"
#include "table/CellInfoDlg.h"
#include "table/SelectDatenDlg.h"
#include "table/SelectStaatDlg.h"
#include "table/TabConfigDlg.h"
#include "table/TableWnd.h"
#include "table/YearLogic.h"
#include "text/Search.h"
#include "text/NOXBrowser.h"
#include "mainwnd/BookmarkWnd.h"
#include "text/TextBrowser.h"
#include "viewers/FlagView.h"
#include "viewers/GraphView.h"
#include "viewers/ImageWnd.h"

namespace {

// Margin between the command bar or the client edges and the table window.
constexpr int kTableMargin = 12;
// What shows around the background picture and the table frame.
const QColor kMarginColor(173, 186, 206);

const char* const kTitle = "Varnholt Kompendor 2004";

std::string Text(const CRecordset& rs, const char* field) {
    return ToText(rs.GetFieldValue(field));
}

// The almanac names its pictures after the print originals (".eps"); the archives hold
// them as ".gif". Case matters: only the lower-case ending is replaced.
std::string EpsToGif(std::string name) {
    for (std::size_t pos = 0; (pos = name.find(".eps", pos)) != std::string::npos; pos += 4)
        name.replace(pos, 4, ".gif");
    return name;
}

QString Q(const std::string& text) { return QString::fromStdString(text); }

std::string Replace(std::string text, const std::string& placeholder, const std::string& value) {
    const std::size_t pos = text.find(placeholder);
    if (pos != std::string::npos) text.replace(pos, placeholder.size(), value);
    return text;
}

// The archive of a picture record's kind: graphs and thematic maps (SubTyp 3 and 2) in the
// graphics archive, table pictures (4) in the tables archive; none for any other kind.
QString PictureArchive(int subTyp) {
    const QString img = Q(TheSettings().img);
    if (subTyp == 2 || subTyp == 3) return img + QStringLiteral("/Graph.nox");
    if (subTyp == 4) return img + QStringLiteral("/Tables.nox");
    return QString();
}

// Whether the image viewer can show a file of that name: JPEG, GIF and BMP.
bool ShownFileType(const QString& fileName) {
    const QString upper = fileName.toUpper();
    return upper.contains(QLatin1String(".JPG")) || upper.contains(QLatin1String(".GIF"))
           || upper.contains(QLatin1String(".BMP"));
}

void UnusableFileFormat(const QString& fileName) {
    ShowMessageBox(Replace("Die Datei \"%s\" liegt in einem nicht verwendbaren Dateiformat vor!!!",
                           "%s", fileName.toStdString()),
                   "");
}

// Window placements as binary registry values of the program's key: left, top, right and
// bottom (exclusive), four little-endian 32-bit numbers.
class CRegistryPlacements : public CWindowPlacements {
public:
    std::optional<QRect> Load(const QString& name) const override {
        std::uint8_t bytes[16];
        if (!TheSettings().ReadBinaryValue(name.toStdString(), bytes, sizeof bytes))
            return std::nullopt;
        auto at = [&](int i) {
            return std::int32_t(std::uint32_t(bytes[i]) | std::uint32_t(bytes[i + 1]) << 8
                                | std::uint32_t(bytes[i + 2]) << 16
                                | std::uint32_t(bytes[i + 3]) << 24);
        };
        const QRect rect(QPoint(at(0), at(4)), QPoint(at(8) - 1, at(12) - 1));
        if (!rect.isValid()) return std::nullopt;
        return rect;
    }
    void Save(const QString& name, const QRect& rect) override {
        const std::int32_t values[4]
            = {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
        std::uint8_t bytes[16];
        for (int i = 0; i < 4; ++i) {
            for (int b = 0; b < 4; ++b)
                bytes[i * 4 + b] = std::uint8_t(std::uint32_t(values[i]) >> (8 * b));
        }
        TheSettings().WriteBinaryValue(name.toStdString(), bytes, sizeof bytes);
    }
};

}  // namespace

CMainWnd::CMainWnd(CDatabase* database, QWidget* parent)
    : CSkinFrame(parent), m_pDatabase(database) {
    Configure();

    m_background = LoadBitmapResource(135);
    m_edgeTop = LoadBitmapResource(155);
    m_edgeBottom = LoadBitmapResource(148);
    m_edgeLeft = LoadBitmapResource(149);
    m_edgeRight = LoadBitmapResource(152);
    m_cornerTopLeft = LoadBitmapResource(151);
    m_cornerTopRight = LoadBitmapResource(154);
    m_cornerBottomLeft = LoadBitmapResource(150);
    m_cornerBottomRight = LoadBitmapResource(153);

    m_pCommandBar = new CCommandBar(this);
    // Queued: a workspace command may run a modal dialog, which must not start inside the
    // button's own mouse handling.
    connect(m_pCommandBar, &CTemplateDialog::command, this, &CMainWnd::OnBarCommand,
            Qt::QueuedConnection);
    LayoutChildren();

    // A missing, foreign or out-of-range value reads as "no workspace".
    std::uint8_t remembered = 0;
    TheSettings().ReadBinaryValue("Workspace", &remembered, 1);
    m_rememberedWorkspace = remembered <= kLastWorkspace ? remembered : 0;

    // The edition's latest year stands wherever a year is needed and none is known.
    SetReferenceYear(unsigned(TheSettings().year));

    m_timerShow = startTimer(100);
    // Precise: the half second is a pause the user waits through, and a coarse timer may
    // come 5 % late.
    m_timerReload = startTimer(500, Qt::PreciseTimer);
    StartupMark("main-window");
}

CMainWnd::~CMainWnd() {
    // Closed before the remembered workspace was reloaded: keep remembering it.
    const std::uint8_t number = currentWorkspace ? currentWorkspace : m_rememberedWorkspace;
    TheSettings().WriteBinaryValue("Workspace", &number, 1);
    SaveTable(currentWorkspace);

    delete m_pTabConfigDlg;
    delete m_pSelectStaatDlg;
    delete m_pSelectDatenDlg;
    delete m_pCellInfoDlg;
    delete m_pMapDlg;
    // The bookmark window keeps its note in the article window's database: it goes first.
    delete m_pBookmarkWnd;
    delete m_pTextBrowser;
    delete m_pTableWnd;
    delete m_pSearch;
    delete m_pGraphView;
    delete m_pImageWnd;
    delete m_pFlagView;
    delete m_pPrintHost;
}

void CMainWnd::Configure() {
    SetMinTrackSize(QSize(770, 400));
    const QColor border(51, 86, 153);
    SetFrameColors(QColor(145, 164, 200), QColor(22, 37, 65), border, border, border);
    SetCaptionButtonOffsets(-5, 6);
    SetInnerMargin(0);
    SetCaptionButtonBitmaps({144, 143, 142, 141, 140, 139, 133, 146, 145, 138, 137, 136}, 4);
    SetCaptionBitmap(134);
    setWindowTitle(QString::fromUtf8(kTitle));

    // 770 by 500, each side limited to the work area, centred on it.
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect work = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size(std::min(770, work.width()), std::min(500, work.height()));
    setGeometry(QRect(QPoint(work.left() + (work.width() - size.width()) / 2,
                             work.top() + (work.height() - size.height()) / 2),
                      size));
}

// ---------------------------------------------------------------------------------------
// Command bar, layout and painting

void CMainWnd::OnBarCommand(int id) {
    // The progress window of a table being filled lets events through; a second table must
    // not start filling inside the first.
    if (m_filling) return;
    switch (id) {
        case kBarPanel1:
            OpenTextBrowserPanel(1);
            break;
        case kBarPanel2:
            OpenTextBrowserPanel(2);
            break;
        case kBarPanel3:
            OpenTextBrowserPanel(3);
            break;
        case kBarPanel4:
            OpenTextBrowserPanel(4);
            break;
        case kBarGraphList:
            OpenGraphList(0);
            break;
        case kBarPanel6:
            OpenTextBrowserPanel(6);
            break;
        default:
            if (id >= kBarWorkspace1 && id <= kBarWorkspace5)
                LoadTable(static_cast<unsigned>(id - kBarWorkspace1) + kFirstWorkspace);
            break;
    }
}

void CMainWnd::UpdateCommandBar() {
    if (!m_pCommandBar) return;
    for (unsigned n = kFirstWorkspace; n <= kLastWorkspace; ++n) {
        CPushCtrl* button
            = m_pCommandBar->Controls().Push(kBarWorkspace1 + int(n - kFirstWorkspace));
        if (button)
            button->LoadBitmaps(QStringLiteral("%1%2").arg(n).arg(WorkspaceState(n)), "nhc");
    }
}

QRect CMainWnd::TableRect() const {
    const QRect client = ClientRect();
    const int bar = m_pCommandBar ? m_pCommandBar->height() : 0;
    return QRect(client.x() + kTableMargin, client.y() + bar + kTableMargin,
                 client.width() - 2 * kTableMargin, client.height() - bar - 2 * kTableMargin);
}

void CMainWnd::LayoutChildren() {
    const QRect client = ClientRect();
    if (m_pCommandBar) {
        m_pCommandBar->setGeometry(client.x(), client.y(), client.width(),
                                   m_pCommandBar->Layout().size.height());
    }
    if (m_pTableWnd) m_pTableWnd->setGeometry(TableRect());
}

void CMainWnd::resizeEvent(QResizeEvent* event) {
    CSkinFrame::resizeEvent(event);
    LayoutChildren();
    update();
}

void CMainWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintFrame(painter);
    const QRect client = ClientRect();
    painter.setClipRect(client);
    if (m_pTableWnd) {
        const int bar = m_pCommandBar ? m_pCommandBar->height() : 0;
        PaintTableFrame(painter, client.adjusted(0, bar, 0, 0));
    } else {
        PaintBackground(painter, client);
    }
}

void CMainWnd::PaintBackground(QPainter& painter, const QRect& client) {
    const QRect picture(QPoint(client.x() + (client.width() - m_background.width()) / 2,
                               client.y() + (client.height() - m_background.height()) / 2),
                        m_background.size());
    // Everything around the picture, in four bands, so nothing is painted twice.
    const QRect inner = picture.intersected(client);
    if (inner.isEmpty()) {
        painter.fillRect(client, kMarginColor);
        return;
    }
    painter.fillRect(QRect(client.left(), client.top(), client.width(), inner.top() - client.top()),
                     kMarginColor);
    painter.fillRect(
        QRect(client.left(), inner.bottom() + 1, client.width(), client.bottom() - inner.bottom()),
        kMarginColor);
    painter.fillRect(
        QRect(client.left(), inner.top(), inner.left() - client.left(), inner.height()),
        kMarginColor);
    painter.fillRect(
        QRect(inner.right() + 1, inner.top(), client.right() - inner.right(), inner.height()),
        kMarginColor);
    painter.drawPixmap(picture.topLeft(), m_background);
}

void CMainWnd::PaintTableFrame(QPainter& painter, const QRect& area) {
    // The table window covers the middle; what its frame pictures leave free keeps the
    // margin colour.
    painter.fillRect(area, kMarginColor);
    const QSize tl = m_cornerTopLeft.size(), tr = m_cornerTopRight.size();
    const QSize bl = m_cornerBottomLeft.size(), br = m_cornerBottomRight.size();
    const int left = area.left(), top = area.top();
    const int right = area.left() + area.width();  // exclusive
    const int bottom = area.top() + area.height();

    painter.drawPixmap(left, top, m_cornerTopLeft);
    painter.drawPixmap(right - tr.width(), top, m_cornerTopRight);
    painter.drawPixmap(left, bottom - bl.height(), m_cornerBottomLeft);
    painter.drawPixmap(right - br.width(), bottom - br.height(), m_cornerBottomRight);

    auto stretch = [&](const QRect& target, const QPixmap& pixmap) {
        if (target.width() > 0 && target.height() > 0 && !pixmap.isNull())
            painter.drawPixmap(target, pixmap);
    };
    stretch(
        QRect(left + tl.width(), top, right - tr.width() - left - tl.width(), m_edgeTop.height()),
        m_edgeTop);
    stretch(QRect(left + bl.width(), bottom - m_edgeBottom.height(),
                  right - br.width() - left - bl.width(), m_edgeBottom.height()),
            m_edgeBottom);
    stretch(QRect(left, top + tl.height(), m_edgeLeft.width(),
                  bottom - bl.height() - top - tl.height()),
            m_edgeLeft);
    stretch(QRect(right - m_edgeRight.width(), top + tr.height(), m_edgeRight.width(),
                  bottom - br.height() - top - tr.height()),
            m_edgeRight);
}

void CMainWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timerShow) {
        killTimer(m_timerShow);
        m_timerShow = 0;
        UpdateCommandBar();
        ShowMaximized();
        StartupMark("main-window-shown");
        return;
    }
    if (event->timerId() == m_timerPrint) {
        OnPrintTimer();
        return;
    }
    if (event->timerId() == m_timerReload) {
        killTimer(m_timerReload);
        m_timerReload = 0;
        const unsigned number = m_rememberedWorkspace;
        m_rememberedWorkspace = 0;
        StartupMark("workspace-reload");
        if (number != 0) LoadTable(number);
        return;
    }
    CSkinFrame::timerEvent(event);
}

// ---------------------------------------------------------------------------------------
// Pictures

void CMainWnd::OpenImageViewerByHTMLID(QWidget* owner, std::int32_t htmlId) {
    if (!m_pDatabase) return;
    std::string title, file;
    double subTyp = 0;
    const bool read
        = DBRead(*m_pDatabase, SqlFormat("SELECT * FROM HTML WHERE ID=%li AND Typ=9", long(htmlId)),
                 "CMainWnd::OpenImageViewerByHTMLID", [&](CRecordset& rs) {
                     title = Text(rs, "Title");
                     ToNumber(rs.GetFieldValue("SubTyp"), subTyp);
                     file = EpsToGif(Text(rs, "Abbildung"));
                 });
    if (read) OpenPictureByKind(owner, int(subTyp), Q(title), Q(file));
}

void CMainWnd::OpenImageViewerByFilename(QWidget* owner, const QString& fileName) {
    if (!m_pDatabase) return;
    std::string title, file;
    double subTyp = 0;
    // The name comes from a page's link: quoted, and its wildcards made literal, so that it
    // can only ever match itself.
    const std::string sql = "SELECT * FROM HTML WHERE Abbildung LIKE '"
                            + SqlQuote(LikeEscape(fileName.toStdString())) + "'";
    const bool read
        = DBRead(*m_pDatabase, sql, "CMainWnd::OpenImageViewerByFilename", [&](CRecordset& rs) {
              title = Text(rs, "Title");
              ToNumber(rs.GetFieldValue("SubTyp"), subTyp);
              file = EpsToGif(Text(rs, "Abbildung"));
          });
    if (read) OpenPictureByKind(owner, int(subTyp), Q(title), Q(file));
}

void CMainWnd::OpenPictureByKind(QWidget* owner, int subTyp, const QString& title,
                                 const QString& fileName) {
    const QString archive = PictureArchive(subTyp);
    if (archive.isEmpty()) return;
    OpenImage(owner, title, fileName, archive);
}

void CMainWnd::ShowMap(QWidget* owner, std::int32_t landId) {
    if (!m_pDatabase) return;
    std::string title, file;
    const bool read
        = DBRead(*m_pDatabase, SqlFormat("SELECT * FROM Land WHERE ID=%li", long(landId)),
                 "CMainWnd::ShowMap", [&](CRecordset& rs) {
                     file = EpsToGif(Text(rs, "GeoKarten"));
                     title = Text(rs, "Title");
                 });
    if (read) OpenImage(owner, Q(title), Q(file), Q(TheSettings().img + "Geo.nox"));
}

void CMainWnd::ShowHTMLImage(QWidget* owner, const QString& archiveName, std::int32_t htmlId) {
    if (!m_pDatabase) return;
    std::string title, file;
    const bool read
        = DBRead(*m_pDatabase, SqlFormat("SELECT * FROM HTML WHERE ID=%li", long(htmlId)),
                 "CMainWnd::ShowHTMLImage", [&](CRecordset& rs) {
                     file = EpsToGif(Text(rs, "Abbildung"));
                     title = Text(rs, "Title");
                 });
    if (read)
        OpenImage(
            owner, Q(title), Q(file),
            Q(TheSettings().img) + QStringLiteral("/") + archiveName + QStringLiteral(".nox"));
}

void CMainWnd::OpenImage(QWidget*, const QString& title, const QString& fileName,
                         const QString& archivePath) {
    if (fileName.isEmpty()) return;
    if (!ShownFileType(fileName)) {
        UnusableFileFormat(fileName);
        return;
    }
    if (!m_pImageWnd) m_pImageWnd = new CImageWnd(this, ViewerEnv());
    // A window that could not show its picture is on its way out; the next picture gets a
    // new one.
    if (!m_pImageWnd->Open(archivePath, fileName, title)) m_pImageWnd = nullptr;
}

void CMainWnd::ShowFlag(QWidget*, std::int32_t landId) {
    if (!m_pDatabase) return;
    std::string flag, title, text;
    const bool read
        = DBRead(*m_pDatabase, SqlFormat("SELECT * FROM Land WHERE ID=%li", long(landId)),
                 "CMainWnd::ShowFlag", [&](CRecordset& rs) {
                     flag = Text(rs, "Flaggen");
                     title = Text(rs, "Title");
                     text = Text(rs, "Flag_Text");
                 });
    if (!read) return;
    if (!m_pFlagView) {
        m_pFlagView = new CFlagView(this, ViewerEnv(), TheSettings().img);
        CenterOverParent(*m_pFlagView, this);
    }
    if (m_pFlagView->Open(Q(flag), Q(title), Q(text))) {
        m_pFlagView->raise();
        m_pFlagView->activateWindow();
    } else {
        m_pFlagView = nullptr;  // closing, on its way out
    }
}

CViewerEnv CMainWnd::ViewerEnv() {
    if (!m_placements) m_placements = std::make_unique<CRegistryPlacements>();
    CViewerEnv env;
    env.pictureHost = this;
    env.placements = m_placements.get();
    env.reachable = [this](const std::string& path) {
        if (!m_drives) m_drives = std::make_unique<CMountTable>(CMountTable::FromSystem());
        return ArchiveReachable(path, *m_drives);
    };
    return env;
}

void CMainWnd::ShowMap(std::int32_t landId) { ShowMap(this, landId); }

void CMainWnd::ShowFlag(std::int32_t landId) { ShowFlag(this, landId); }

// ---------------------------------------------------------------------------------------
// Articles, search, map, cell information, printing

void CMainWnd::OpenTextBrowserLandID(std::int32_t landId) {
    if (!m_pDatabase) return;
    bool found = false;
    double htmlId = 0;
    const bool read = DBRead(
        *m_pDatabase, SqlFormat("SELECT * FROM HTML WHERE LandID=%li AND Typ=1", long(landId)),
        "CMainWnd::OpenTextBrowserLandID", [&](CRecordset& rs) {
            if (rs.IsEOF()) return;
            found = ToNumber(rs.GetFieldValue("ID"), htmlId);
        });
    if (!read) return;
    if (!found) {
        ShowMessageBox("Zu diesem Land liegt leider keine Länderinfo vor.", kCaptionHinweis,
                       MsgIcon::Information);
        return;
    }
    OpenTextBrowser(static_cast<std::int32_t>(htmlId), this, QString());
}

// The article window, the cell information and printing are in MainWndText.cpp.

void CMainWnd::OpenSearch(QWidget*) {
    CDBBusyCursor busy;
    if (!m_pSearch) {
        m_pSearch = new CSearch(this, m_pDatabase, this);
        CenterOverParent(*m_pSearch, this);
    }
    m_pSearch->show();
    m_pSearch->raise();
    m_pSearch->activateWindow();
    if (QLineEdit* field = m_pSearch->QueryField()) field->setFocus();
}

CSearch* CMainWnd::SearchWindow() const { return m_pSearch; }

void CMainWnd::OpenSearchArticle(QWidget* owner, std::int32_t htmlId, const std::string& anchor,
                                 const std::vector<std::string>& terms) {
    OpenTextBrowser(htmlId, owner, QString::fromStdString(anchor), terms);
}

void CMainWnd::OpenSearchGraph(QWidget* owner, std::int32_t htmlId) {
    OpenImageViewerByHTMLID(owner, htmlId);
}

void CMainWnd::OpenGraphList(int preselection) {
    if (!m_pGraphView) {
        CDBBusyCursor busy;
        auto* gallery = new CGraphView(this, m_pDatabase, ViewerEnv(), TheSettings().img, this);
        CenterOverParent(*gallery, this);
        // Without its previews archive (the disc not inserted) it has closed itself.
        if (!gallery->Open()) return;
        m_pGraphView = gallery;
    }
    // No preselection leaves an open gallery as the user left it.
    if (preselection >= CGraphView::kTabellen && preselection <= CGraphView::kAlle)
        m_pGraphView->Select(preselection);
    m_pGraphView->show();
    m_pGraphView->raise();
    m_pGraphView->activateWindow();
    if (QLineEdit* field = m_pGraphView->SearchField()) field->setFocus();
}

CGraphView* CMainWnd::GraphWindow() const { return m_pGraphView; }

void CMainWnd::OpenGraph(QWidget* owner, std::int32_t htmlId) {
    OpenImageViewerByHTMLID(owner, htmlId);
}

bool CMainWnd::ReadGraphPicture(std::int32_t htmlId, CPicture& picture, QString& title) {
    if (!m_pDatabase) return false;
    std::string name, file;
    double subTyp = 0;
    const bool read
        = DBRead(*m_pDatabase, SqlFormat("SELECT * FROM HTML WHERE ID=%li AND Typ=9", long(htmlId)),
                 "CMainWnd::OpenImageViewerByHTMLID", [&](CRecordset& rs) {
                     name = Text(rs, "Title");
                     ToNumber(rs.GetFieldValue("SubTyp"), subTyp);
                     file = EpsToGif(Text(rs, "Abbildung"));
                 });
    const QString archive = PictureArchive(int(subTyp));
    if (!read || archive.isEmpty() || file.empty()) return false;
    if (!ShownFileType(Q(file))) {
        UnusableFileFormat(Q(file));
        return false;
    }
    const CViewerEnv env = ViewerEnv();
    if (!env.Reachable(archive.toStdString())) return false;
    if (ReadArchivePicture(archive.toStdString(), file, env.password, picture, ScreenDpi())
        != PictureRead::Ok) {
        ShowMessageBox(PictureNotFoundText(file), "");
        return false;
    }
    title = Q(name);
    return true;
}

void CMainWnd::PrintGraph(QWidget* owner, std::int32_t htmlId) {
    CPicture picture;
    QString title;
    if (ReadGraphPicture(htmlId, picture, title)) PrintPicture(owner, picture.Image());
}

void CMainWnd::ExportGraph(QWidget* owner, std::int32_t htmlId) {
    CPicture picture;
    QString title;
    if (ReadGraphPicture(htmlId, picture, title)) SavePicture(owner, picture.Image(), title);
}

void CMainWnd::ShowMapValues(std::int32_t valId, unsigned year) {
    if (!m_pMapDlg) {
        CMapSetup setup;
        setup.database = m_pDatabase;
        setup.mapDir = TheSettings().ReadIniValue("Paths", "Map", "", true);
        setup.defaultYear = TheSettings().year;
        setup.viewerEnv = ViewerEnv();
        m_pMapDlg = new CMapDlg(this, std::move(setup));
        CenterOverParent(*m_pMapDlg, this);
        // The map shows the field once its renderer window exists (its timer 1).
        m_pMapDlg->SetParams(valId, int(year));
    } else {
        m_pMapDlg->Display(valId, int(year));
    }
    m_pMapDlg->raise();
    m_pMapDlg->activateWindow();
    m_pMapDlg->setFocus();
}

CMapDlg* CMainWnd::MapWindow() const { return m_pMapDlg; }

bool CMainWnd::SavePicture(QWidget*, const QImage& picture, const QString& defaultName) {
    SaveDialogRequest request;
    request.fileName = defaultName.toStdString();
    request.defaultExtension = "bmp";
    request.filter = "Bitmap Dateien|*.bmp||";
    request.overwritePrompt = true;
    const std::optional<std::string> path = RunSaveFileDialog(request);
    if (!path || picture.isNull()) return false;
    // Written whole or not at all: a failed export leaves a file of that name as it was.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "BMP")) return false;
    return WriteFileAtomically(*path,
                               std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

void CMainWnd::BookmarkHint() {
    ShowMessageBox(
        "Bitte markieren Sie zunächst den Textbereich, für den Sie ein Lesezeichen anlegen "
        "möchten!",
        kCaptionHinweis, MsgIcon::Information);
}

// ---------------------------------------------------------------------------------------
// Selection windows

CTableResources CMainWnd::TableResources() {
    CTableResources resources;
    resources.database = m_pDatabase;
    resources.host = this;
    resources.pointer = m_pointer;
    resources.imageFolder = TheSettings().img;
    return resources;
}

CTemplateDialog* CMainWnd::CommandBar() const { return m_pCommandBar; }
CTableWnd* CMainWnd::TableWindow() const { return m_pTableWnd; }
CTabConfigDlg* CMainWnd::TabConfigDialog() const { return m_pTabConfigDlg; }
CSelectStaatDlg* CMainWnd::SelectStaatWindow() const { return m_pSelectStaatDlg; }
CSelectDatenDlg* CMainWnd::SelectDatenWindow() const { return m_pSelectDatenDlg; }
CImageWnd* CMainWnd::ImageWindow() const { return m_pImageWnd; }
CFlagView* CMainWnd::FlagWindow() const { return m_pFlagView; }

void CMainWnd::OpenCountrySelection() {
    if (!m_pSelectStaatDlg) {
        m_pSelectStaatDlg = new CSelectStaatDlg(this, m_pDatabase, this);
        CenterOverParent(*m_pSelectStaatDlg, this);
    }
    m_pSelectStaatDlg->SetSelection(countryIds);
    m_pSelectStaatDlg->show();
    m_pSelectStaatDlg->raise();
    m_pSelectStaatDlg->activateWindow();
}

void CMainWnd::OpenDataSelection() {
    if (!m_pSelectDatenDlg) {
        m_pSelectDatenDlg = new CSelectDatenDlg(this, m_pDatabase, this);
        CenterOverParent(*m_pSelectDatenDlg, this);
    }
    m_pSelectDatenDlg->SetSelection(dataIds);
    m_pSelectDatenDlg->show();
    m_pSelectDatenDlg->raise();
    m_pSelectDatenDlg->activateWindow();
}

void CMainWnd::ApplySelection(const IdList& countries, const IdList& ids) {
    if (m_pTableWnd && !m_filling) ShowTable(tableKind, currentWorkspace, countries, ids);
}

// ---------------------------------------------------------------------------------------
// Workspaces

std::string CMainWnd::WorkspacePath(unsigned number) const {
    return WorkspaceFilePath(TheSettings().userData, number);
}

int CMainWnd::WorkspaceState(unsigned number) const {
    return WorkspaceButtonState(TheSettings().userData, number, currentWorkspace);
}

void CMainWnd::SaveTable(unsigned number) {
    if (number == 0) return;
    CWorkspaceFile workspace;
    workspace.tableKind = tableKind;
    workspace.allCountries = allCountries;
    workspace.countryIds = countryIds;
    workspace.dataIds = dataIds;
    // Without a user-data folder the file would land in whatever folder is current.
    if (TheSettings().userData.empty() || !WriteWorkspaceFile(WorkspacePath(number), workspace))
        ReportDBError(std::runtime_error("Der Arbeitsbereich konnte nicht gespeichert werden."),
                      "CMainWnd::SaveTable");
}

void CMainWnd::LoadTable(unsigned number) {
    if (number == 0 || m_filling) return;
    if (number == currentWorkspace) {
        ConfigureTable(number, true);
        return;
    }
    SaveTable(currentWorkspace);

    // Read into a record of its own: a file that turns out unusable must leave the workspace
    // in use as it is, or leaving the program would save the broken state over it.
    CWorkspaceFile workspace;
    switch (ReadWorkspaceFile(WorkspacePath(number), workspace)) {
        case WorkspaceRead::Missing:
            ConfigureTable(number, false);
            break;
        case WorkspaceRead::WrongVersion:
            ShowMessageBox(kMsgWorkspaceVersion, kCaptionHinweis, MsgIcon::Information);
            ConfigureTable(number, false);
            break;
        case WorkspaceRead::Empty:
            ShowMessageBox(kMsgWorkspaceInvalid, kCaptionHinweis, MsgIcon::Information);
            ConfigureTable(number, false);
            break;
        case WorkspaceRead::Damaged:
            ShowMessageBox(kMsgWorkspaceLoadFailed, kCaptionFehler, MsgIcon::Stop);
            ReportDBError(std::runtime_error("Die Datei " + WorkspacePath(number)
                                             + " ist beschädigt oder nicht lesbar."),
                          "CMainWnd::LoadTable");
            break;
        case WorkspaceRead::Ok:
            allCountries = workspace.allCountries;
            ShowTable(workspace.tableKind, number, workspace.countryIds, workspace.dataIds);
            break;
    }
}

void CMainWnd::ConfigureTable(unsigned number, bool fromCurrent) {
    if (m_pTabConfigDlg || m_filling) return;
    // The configuration dialog sets up both lists at once; the single-list windows would
    // show stale ticks afterwards.
    delete m_pSelectStaatDlg;
    delete m_pSelectDatenDlg;

    m_pTabConfigDlg = new CTabConfigDlg(this, m_pDatabase, this);
    if (fromCurrent) m_pTabConfigDlg->SetSelection(countryIds, dataIds);
    const int result = m_pTabConfigDlg->exec();
    if (!m_pTabConfigDlg) return;  // the workspace was closed meanwhile
    const IdList countries = m_pTabConfigDlg->Countries();
    const IdList ids = m_pTabConfigDlg->DataIds();
    delete m_pTabConfigDlg;
    if (result > 0) ShowTable(unsigned(result), number, countries, ids);
}

void CMainWnd::ShowTable(unsigned kind, unsigned number, const IdList& countries,
                         const IdList& ids) {
    if (m_filling) return;
    // Nothing to do when the table already shows this: the apply of a selection window that
    // changed nothing. A list not given counts as unchanged.
    const bool given = !countries.empty() || !ids.empty();
    if (given && kind == tableKind && number == currentWorkspace
        && (countries.empty() || countries == countryIds) && (ids.empty() || ids == dataIds))
        return;

    bool filled = false;
    bool cancelled = false;
    CloseCellInfo();
    {
        CDBBusyCursor busy;
        if (!countries.empty()) countryIds = countries;
        if (!ids.empty()) dataIds = ids;
        tableKind = static_cast<std::uint8_t>(kind);

        if (!m_pTableWnd) {
            m_pTableWnd = new CTableWnd(this);
            m_pTableWnd->SetResources(TableResources());
            m_pTableWnd->setGeometry(TableRect());
            m_pTableWnd->show();
            update();
        }
        m_pTableWnd->SetTitle(
            QStringLiteral("Arbeitsbereich %1 ").arg(number)
            + (kind == 1 ? QStringLiteral("(Länderdaten)") : QStringLiteral("(Ländervergleich)")));

        IdList validIds = dataIds;
        ValidateDataIDs(m_pDatabase, validIds);
        m_filling = true;
        QPointer<CTableWnd> table = m_pTableWnd;
        filled = kind == 1 ? table->DisplayStaaten(countryIds, validIds)
                           : table->DisplayDaten(countryIds, validIds);
        m_filling = false;
        cancelled = !filled && table && table->WasCancelled();
        filled = filled && table;
    }
    if (filled) {
        StartupMark("table-filled");
        LayoutChildren();
        currentWorkspace = static_cast<std::uint8_t>(number);
        // Remembered at once as well as on exit, so a program that is killed still reopens
        // this table next time.
        TheSettings().WriteBinaryValue("Workspace", &currentWorkspace, 1);
        UpdateCommandBar();
        SaveTable(number);
        update();
    } else {
        CloseWorkspace(false);
        if (cancelled) ShowMessageBox(kMsgTableNotCompleted, kCaptionHinweis, MsgIcon::Information);
    }
}

void CMainWnd::CloseWorkspace(bool deleteFile) {
    if (m_filling) return;
    if (m_pSelectStaatDlg) m_pSelectStaatDlg->close();
    if (m_pSelectDatenDlg) m_pSelectDatenDlg->close();
    CloseCellInfo();
    // Deferred: the request may come from the table window's own bar, which is still on the
    // call stack.
    if (m_pTabConfigDlg) {
        m_pTabConfigDlg->hide();
        m_pTabConfigDlg->deleteLater();
        m_pTabConfigDlg = nullptr;
    }
    if (m_pTableWnd) {
        m_pTableWnd->hide();
        m_pTableWnd->deleteLater();
        m_pTableWnd = nullptr;
    }
    if (deleteFile && currentWorkspace != 0) ::unlink(WorkspacePath(currentWorkspace).c_str());
    currentWorkspace = 0;
    countryIds.clear();
    dataIds.clear();
    UpdateCommandBar();
    update();
}

void CMainWnd::CloseTable() { CloseWorkspace(true); }

// ---------------------------------------------------------------------------------------
// Profiles

bool CMainWnd::SaveProfile(const QString& name, const QString& extension, const IdList& ids) {
    if (ids.empty()) {
        ShowMessageBox(kMsgProfileNoData, kCaptionHinweis, MsgIcon::Information);
        return false;
    }
    if (name.isEmpty()) {
        ShowMessageBox(kMsgProfileNoName, kCaptionHinweis, MsgIcon::Information);
        return false;
    }
    // The name becomes a file name in the user-data folder and must not lead out of it.
    const std::string profile = name.toStdString();
    if (!IsValidProfileName(profile)) {
        ShowMessageBox(kMsgProfileBadName, kCaptionHinweis, MsgIcon::Information);
        return false;
    }
    const std::string path
        = ProfileFilePath(TheSettings().userData, profile, extension.toStdString());
    if (::access(path.c_str(), F_OK) == 0
        && ShowMessageBox(Replace(kMsgProfileExists, "%s", profile), kCaptionHinweis,
                          MsgIcon::Information, MsgButtons::YesNo)
               != IDYES)
        return false;
    if (!NOXUtils::SaveCObject(ids, path)) {
        ShowMessageBox(kMsgProfileWriteFailed, kCaptionFehler, MsgIcon::Stop);
        return false;
    }
    return true;
}

void CMainWnd::SaveProfileAsk(const std::string& extension, const IdList& ids) {
    CSaveProfileDlg dialog(this);
    if (dialog.exec() != QDialog::Accepted) return;
    SaveProfile(dialog.Name(), Q(extension), ids);
}

void CMainWnd::DeleteProfile(const std::string& extension) {
    CDeleteProfileDlg dialog(TheSettings().userData, extension, this);
    dialog.exec();
}

bool CMainWnd::ProfileMenu(const std::string& extension, int screenX, int screenY,
                           std::string& name, std::string& path) {
    const CProfileMenuModel model
        = BuildProfileMenu(TheSettings().presets, TheSettings().userData, extension);
    const CProfileMenuEntry* entry = model.Entry(TrackProfileMenu(model, screenX, screenY));
    if (!entry) return false;
    name = entry->name;
    path = entry->path;
    return true;
}

int CMainWnd::TrackProfileMenu(const CProfileMenuModel& model, int x, int y) {
    CFlatMenu menu;
    std::vector<std::unique_ptr<CFlatMenu>> submenus;
    FillProfileMenu(model, menu, submenus);
    return menu.TrackPopup(x, y, this, true);
}

bool CMainWnd::LoadCObject(const std::string& path, IdList& ids) {
    return NOXUtils::LoadCObject(ids, path);
}
