#pragma once
// A pane of the grid (row headers, column headers, cells) and the base of every cell
// window. Keys and the wheel go on to the grid, so the grid scrolls whichever pane or cell
// has the focus.

#include <QColor>
#include <QWidget>

class CTable;

class CTableChild : public QWidget {
    Q_OBJECT
public:
    // A pane filled with `colour`; an invalid colour leaves the background to the subclass.
    explicit CTableChild(CTable* table = nullptr, QWidget* parent = nullptr,
                         const QColor& colour = QColor());

    CTable* GetTable() const { return m_table; }
    void SetColour(const QColor& colour);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

    // The grid this pane or cell belongs to; not owned.
    CTable* m_table = nullptr;
};
