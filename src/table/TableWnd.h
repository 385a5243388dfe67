#pragma once
// The statistics table window: a bar (title, export, print, close) above one grid, filled from
// the almanac in the country-column view (DisplayStaaten) or the data-column view
// (DisplayDaten). It turns the grid's cell messages into the program's commands: a click
// selects a cell and asks the main window for the cell information, a right click opens the
// cell's context menu.

#include <QString>
#include <QWidget>

#include "table/TableHost.h"
#include "table/TableResources.h"

class CDatabase;
class CTable;
class CTableData;
class CFillProgress;
struct CTableView;
class CTemplateDialog;

// The hint after a fill the user cancelled: the table is closed, not shown half built.
inline constexpr const char* kMsgTableNotCompleted
    = "Der Aufbau der Tabelle wurde abgebrochen!\nDie Tabelle ist nicht vollständig und wird "
      "daher geschlossen.";

// The question before the bar's close button closes the table and deletes its workspace.
inline constexpr const char* kMsgCloseTable
    = "Möchten Sie die Tabelle wirklich schließen?\n\nDer Arbeitsbereich wird dabei gelöscht.";

class CTableWnd : public QWidget {
    Q_OBJECT
public:
    // Height of the bar across the top, in pixels.
    static constexpr int kBarHeight = 37;
    // Template of the bar and its controls.
    static constexpr int kBarTemplate = 156;
    static constexpr int kTitleId = 1036;
    static constexpr int kExportId = 1012;
    static constexpr int kPrintId = 1013;
    static constexpr int kCloseId = 1003;

    // Creates the bar and the grid as children; the grid stays empty until a Display call.
    explicit CTableWnd(QWidget* parent);
    ~CTableWnd() override;

    // The title in the bar ("Arbeitsbereich 1 (Länderdaten)").
    void SetTitle(const QString& title);

    // Fills the country-column view (a column per country, a row per data field). False when
    // the user cancelled: the grid keeps what was stored and is not laid out.
    bool DisplayStaaten(const IdList& countries, const IdList& dataIds);
    // Fills the data-column view (a column per data field, a row per country, sorted by
    // name). False when the user cancelled, as above.
    bool DisplayDaten(const IdList& countries, const IdList& dataIds);
    // Refills a year column of the data-column view for year and selects the selected
    // position again.
    void SetColYear(int column, unsigned year);

    CTable* Grid() const { return m_grid; }
    CTemplateDialog* Bar() const { return m_bar; }

    // What the window and its cells use: the almanac, the pointer cursor, the picture
    // folder. The main window hands it in before the first Display call.
    void SetResources(const CTableResources& resources) { m_resources = resources; }
    const CTableResources& Resources() const { return m_resources; }
    // Only the almanac, the rest as it was.
    void SetDatabase(CDatabase* db) { m_resources.database = db; }
    CDatabase* Database() const { return m_resources.database; }
    // True while a fill runs: the window then takes no commands.
    bool IsFilling() const { return m_filling; }
    // True when the user cancelled the last Display call.
    bool WasCancelled() const { return m_cancelled; }

    // The bar's export command: asks for a file and writes the table as HTML. True when a
    // file was written.
    bool ExportHTML();
    // The bar's print command: hands the table as HTML to the main window's printing.
    void PrintTable();

protected:
    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    // Fills the grid in one of the two views, with the progress window; false when cancelled.
    bool Display(const CTableView& view, const IdList& countries, const IdList& dataIds);
    void OnBarCommand(int id);
    void OnSelectionChanged(int column, int row);
    void OnRightButtonUp(int column, int row);

    CTemplateDialog* m_bar = nullptr;
    CTable* m_grid = nullptr;
    CTableResources m_resources;
    bool m_filling = false;
    bool m_cancelled = false;
};

// The table window a widget (a cell, a grid) sits in, or null.
CTableWnd* TableWndOf(const QWidget* widget);
// What a widget of a table (a cell, a grid) may use: its table window's resources, or
// resources without almanac, flags and cursor file outside a table window.
const CTableResources& TableResourcesOf(const QWidget* widget);
// The almanac of a widget's table window; null outside one.
CDatabase* TableDatabaseOf(const QWidget* widget);
// The host of a widget's table window, which takes its requests; null outside one.
CTableHost* TableHostOf(const QWidget* widget);
