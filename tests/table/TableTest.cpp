// The grid on screen (offscreen): visible block, scrolling, keys, mouse, selection, sizes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include "table/Table.h"
#include "table/TableCell.h"

namespace {

class CFailingCell : public CTableCell {
public:
    bool InitCell() override { return false; }
};

// A kind that wants a new window for every position.
class CFreshCell : public CTableCell {
public:
    bool Reuse(int, int) override { return false; }
};

// "für alle übernehmen" as the cell kinds carry it out: this cell's size for every column
// and row, which rebuilds the block and so destroys this very window while it runs.
class CTakeOverCell : public CTableCell {
public:
    void ShowContextMenu(int, int) override {
        GetTable()->SetAllColumnWidths(width(), false);
        GetTable()->SetAllRowHeights(height(), true);
        // Still usable here, since the grid lets windows go only in the event loop.
        sizeAfterwards = size();
    }
    QSize sizeAfterwards;
};

// The table window's stand-in: records the grid's messages.
class CMessageSink : public QWidget {
public:
    struct Message {
        int type;
        int column;
        int row;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> messages;

protected:
    bool event(QEvent* e) override {
        if (e->type() >= TWM_SELCHANGED && e->type() <= TWM_CELL_RBUTTONDBLCLK) {
            auto* message = static_cast<CTableEvent*>(e);
            messages.push_back({e->type(), message->Column(), message->Row()});
            return true;
        }
        return QWidget::event(e);
    }
};

// A uniform grid: `columns` and `rows` count the data columns and rows.
struct Grid {
    CMessageSink window;
    CTable* table = nullptr;
    int width;
    int height;

    Grid(int columns, int rows, int columnWidth, int rowHeight, QSize size = QSize(800, 600))
        : width(columnWidth), height(rowHeight) {
        window.resize(size);
        table = new CTable;
        table->Create(&window, QRect(QPoint(0, 0), size), QColor(173, 186, 206),
                      QColor(173, 186, 206), QColor(187, 198, 214));
        table->SetHeaderSizes(175, 50);
        table->AddRow(CellData("CTableCell", CVariant::FromText(" ")), 48);
        for (int r = 1; r <= rows; ++r) {
            table->AddRow(CellData("CTableCell", CVariant::FromText("Zeile"), r), rowHeight);
        }
        for (int c = 1; c <= columns; ++c) {
            table->AddColumn(CellData("CTableCell", CVariant::FromText("Spalte"), c), columnWidth);
            for (int r = 1; r <= rows; ++r) {
                table->SetData(c, r, CellData("CTableCell", CVariant::FromLong(c * 1000 + r)));
            }
        }
        window.show();
        table->Relayout(true);
    }

    int PaneWidth() const { return table->GetCellPane()->width(); }
    int PaneHeight() const { return table->GetCellPane()->height(); }
    QRect ModelRect(int column, int row) const {
        return QRect((column - 1) * width - table->GetScrollX(),
                     (row - 1) * height - table->GetScrollY(), width, height);
    }

    // Exactly the data cells that meet the cell pane have windows, where the model puts
    // them, and no other cell window exists.
    void ExpectExactBlock() const {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const QRect pane(0, 0, PaneWidth(), PaneHeight());
        int columnsSeen = 0;
        int rowsSeen = 0;
        for (int c = 1; c < table->GetColumnCount(); ++c) {
            for (int r = 1; r < table->GetRowCount(); ++r) {
                const QRect rect = ModelRect(c, r);
                CTableCell* cell = table->GetCellWindow(c, r);
                ASSERT_EQ(cell != nullptr, rect.intersects(pane)) << c << "/" << r;
                if (cell != nullptr) {
                    ASSERT_EQ(cell->geometry(), rect) << c << "/" << r;
                    ASSERT_EQ(cell->GetColumn(), c);
                    ASSERT_EQ(cell->GetRow(), r);
                    ASSERT_EQ(cell->GetCellClass(), table->GetData(c, r)->cellClass);
                }
            }
            if (ModelRect(c, 1).right() >= 0 && ModelRect(c, 1).left() < pane.width())
                ++columnsSeen;
        }
        for (int r = 1; r < table->GetRowCount(); ++r) {
            if (ModelRect(1, r).bottom() >= 0 && ModelRect(1, r).top() < pane.height()) ++rowsSeen;
        }
        EXPECT_EQ(table->GetVisibleColumnCount(), columnsSeen);
        EXPECT_EQ(table->GetVisibleRowCount(), rowsSeen);
        const int windows = table->findChildren<CTableCell*>().size();
        EXPECT_EQ(windows, (columnsSeen + 1) * (rowsSeen + 1));
    }
};

}  // namespace

TEST(Table, OnlyTheVisibleBlockHasWindows) {
    Grid grid(250, 150, 90, 25, QSize(1024, 768));
    // Windows that leave the block are taken over by cells of their own kind only.
    RegisterCellClass<CFreshCell>("CFreshCell");
    for (int c = 3; c <= 250; c += 3) {
        for (int r = 1; r <= 150; ++r) {
            grid.table->SetData(c, r, CellData(r % 2 ? "CFreshCell" : "CTableCell", CVariant()));
        }
    }
    grid.table->RebuildVisible();
    grid.ExpectExactBlock();
    grid.table->ScrollBy(133, 41);
    grid.ExpectExactBlock();
    grid.table->PageRight();
    grid.table->PageDown();
    grid.ExpectExactBlock();
    grid.table->ScrollBy(100000, 100000);
    EXPECT_EQ(grid.table->GetScrollX(), 250 * 90 - grid.PaneWidth());
    EXPECT_EQ(grid.table->GetScrollY(), 150 * 25 - grid.PaneHeight());
    grid.ExpectExactBlock();
    grid.table->PageLeft();
    grid.table->PageUp();
    grid.ExpectExactBlock();
    grid.table->ScrollBy(-100000, -100000);
    EXPECT_EQ(grid.table->GetScrollX(), 0);
    grid.ExpectExactBlock();
    // Resizing the window gives the block new cells, and takes cells away again.
    grid.window.resize(1400, 900);
    grid.table->resize(1400, 900);
    grid.ExpectExactBlock();
    grid.table->resize(500, 300);
    grid.ExpectExactBlock();
}

TEST(Table, AtMostSixtyThreeDataColumnsHaveWindowsAndFailedCellsStayEmpty) {
    Grid grid(100, 3, 10, 20, QSize(1000, 300));
    EXPECT_EQ(grid.table->GetVisibleColumnCount(), CTable::kMaxVisibleColumns);
    EXPECT_EQ(grid.table->GetCellWindow(64, 1), nullptr);
    EXPECT_NE(grid.table->GetCellWindow(63, 1), nullptr);

    RegisterCellClass<CFailingCell>("CFailingCell");
    grid.table->SetData(2, 2, CellData("CFailingCell", CVariant()));
    grid.table->SetData(3, 2, CellData("CNobodyRegistered", CVariant()));
    grid.table->RebuildVisible();
    EXPECT_EQ(grid.table->GetCellWindow(2, 2), nullptr);
    EXPECT_EQ(grid.table->GetCellWindow(3, 2), nullptr);
    EXPECT_NE(grid.table->GetCellWindow(4, 2), nullptr);
}

TEST(Table, PagesMoveByTheLastVisibleColumnAndPastTheLastVisibleRow) {
    // Pane 608 x 533: columns 1 and 2 whole, column 3 cut; rows 1 to 7 whole, row 8 cut.
    Grid grid(10, 30, 300, 67);
    ASSERT_EQ(grid.PaneWidth(), 608);
    ASSERT_EQ(grid.PaneHeight(), 533);
    grid.table->PageRight();
    EXPECT_EQ(grid.table->GetFirstVisibleColumn(), 3);
    EXPECT_EQ(grid.table->GetScrollX(), 600);
    grid.table->PageDown();
    EXPECT_EQ(grid.table->GetFirstVisibleRow(), 9);
    EXPECT_EQ(grid.table->GetScrollY(), 8 * 67);

    // Back: the old first column ends up as the last whole one.
    grid.table->PageLeft();
    EXPECT_EQ(grid.table->GetScrollX(), 300);
    grid.table->PageLeft();
    EXPECT_EQ(grid.table->GetScrollX(), 0);
    grid.table->PageLeft();
    EXPECT_EQ(grid.table->GetScrollX(), 0);

    // A pane too narrow for two columns still pages back, a column at a time.
    Grid narrow(10, 5, 300, 67, QSize(600, 400));
    ASSERT_LT(narrow.PaneWidth(), 600);
    narrow.table->PageRight();
    narrow.table->PageRight();
    EXPECT_EQ(narrow.table->GetScrollX(), 600);
    narrow.table->PageLeft();
    EXPECT_EQ(narrow.table->GetScrollX(), 300);
    // One narrower than a column pages forward the same way.
    Grid narrower(10, 5, 300, 67, QSize(450, 400));
    ASSERT_LT(narrower.PaneWidth(), 300);
    narrower.table->PageRight();
    EXPECT_EQ(narrower.table->GetScrollX(), 300);
    narrower.table->PageLeft();
    EXPECT_EQ(narrower.table->GetScrollX(), 0);
}

TEST(Table, EnsureVisibleBringsCellsWholeIntoThePane) {
    Grid grid(10, 30, 300, 67);
    // The cut column at the right edge, and one beyond it.
    grid.table->EnsureVisible(3, 1);
    EXPECT_EQ(grid.table->GetScrollX(), 900 - grid.PaneWidth());
    grid.table->EnsureVisible(5, 1);
    EXPECT_EQ(grid.ModelRect(5, 1).left() + 300, grid.PaneWidth());
    // Left of the first visible column, while that one is cut.
    grid.table->EnsureVisible(2, 1);
    EXPECT_EQ(grid.table->GetScrollX(), 300);
    // The last cell of the table, the first one, and the headers (nothing).
    grid.table->EnsureVisible(10, 30);
    EXPECT_EQ(grid.table->GetScrollX(), 3000 - grid.PaneWidth());
    EXPECT_EQ(grid.table->GetScrollY(), 30 * 67 - grid.PaneHeight());
    grid.table->EnsureVisible(0, 1);
    grid.table->EnsureVisible(1, 0);
    EXPECT_EQ(grid.table->GetScrollY(), 30 * 67 - grid.PaneHeight());
    grid.table->EnsureVisible(1, 1);
    EXPECT_EQ(grid.table->GetScrollX(), 0);
    EXPECT_EQ(grid.table->GetScrollY(), 0);
    grid.ExpectExactBlock();
}

TEST(Table, SelectRefusesHeadersAndReportsANewSelectionAtOnce) {
    Grid grid(10, 30, 300, 67);
    for (auto [column, row] : {std::pair{0, 3}, {2, 0}, {0, 0}, {11, 1}, {1, 31}, {-1, 2}}) {
        grid.table->Select(column, row);
    }
    EXPECT_TRUE(grid.window.messages.empty());
    EXPECT_EQ(grid.table->GetSelectedColumn(), 0);

    grid.table->Select(4, 20);
    ASSERT_EQ(grid.window.messages.size(), 1u);
    EXPECT_EQ(grid.window.messages[0], (CMessageSink::Message{TWM_SELCHANGED, 4, 20}));
    EXPECT_NE(grid.table->GetCellWindow(4, 20), nullptr);
    EXPECT_GE(grid.ModelRect(4, 20).top(), 0);

    grid.table->MoveSelection(1, -1);
    EXPECT_EQ(grid.table->GetSelectedColumn(), 5);
    EXPECT_EQ(grid.table->GetSelectedRow(), 19);
    grid.table->MoveSelection(-5, 0);
    EXPECT_EQ(grid.table->GetSelectedColumn(), 5);

    // Sorting moves the selection with its record and shows it.
    const std::int32_t value = grid.table->GetData(5, 19)->value.Integer();
    grid.table->ScrollBy(0, -10000);
    grid.table->SortByColumn(5, false);
    EXPECT_EQ(grid.table->GetData(5, grid.table->GetSelectedRow())->value.Integer(), value);
    EXPECT_EQ(grid.table->GetSelectedRow(), 30 - 19 + 1);
    EXPECT_NE(grid.table->GetCellWindow(5, grid.table->GetSelectedRow()), nullptr);
    grid.ExpectExactBlock();
}

TEST(Table, DraggingABorderStopsAtTheMinimumSize) {
    Grid grid(6, 10, 100, 40);
    CTableCell* header = grid.table->GetCellWindow(2, 0);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->ZoneAt(QPoint(98, 25)), CTableCell::RightZone);
    QTest::mouseMove(header, QPoint(98, 25));
    EXPECT_EQ(header->cursor().shape(), Qt::SizeHorCursor);

    QTest::mousePress(header, Qt::LeftButton, {}, QPoint(98, 25));
    QTest::mouseMove(header, QPoint(68, 25));
    EXPECT_EQ(grid.table->GetColumnWidth(2), 70);
    EXPECT_EQ(grid.table->GetCellWindow(3, 0)->x(), 170);
    QTest::mouseMove(header, QPoint(58, 25));
    EXPECT_EQ(grid.table->GetColumnWidth(2), 70);
    QTest::mouseMove(header, QPoint(62, 25));
    EXPECT_EQ(grid.table->GetColumnWidth(2), 64);
    QTest::mouseRelease(header, Qt::LeftButton, {}, QPoint(30, 25));
    EXPECT_EQ(grid.table->GetTotalWidth(), 5 * 100 + 64);

    // Rows through the top strip of a data cell, which resizes the row above it.
    CTableCell* cell = grid.table->GetCellWindow(1, 3);
    QTest::mousePress(cell, Qt::LeftButton, {}, QPoint(50, 1));
    QTest::mouseMove(cell, QPoint(50, -30));
    EXPECT_EQ(grid.table->GetRowHeight(2), 40);
    QTest::mouseMove(cell, QPoint(50, -20));
    EXPECT_EQ(grid.table->GetRowHeight(2), 19);
    QTest::mouseRelease(cell, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(grid.table->GetCellWindow(1, 3)->y(), 40 + 19);
    EXPECT_EQ(grid.table->GetCellWindow(0, 3)->y(), 40 + 19);
    EXPECT_EQ(grid.table->GetCellWindow(4, 3)->x(), 100 + 64 + 100);

    // Neither drag was a click on a cell.
    QCoreApplication::processEvents();
    EXPECT_TRUE(grid.window.messages.empty());
}

TEST(Table, StepsAndMinimumSizesAreSetThroughTheGrid) {
    Grid grid(20, 40, 300, 67);
    grid.table->SetSnapToCells(false);
    grid.table->SetScrollSteps(20, 200);
    QScrollBar* bar = grid.table->GetScrollBar(CTable::kVerticalBarId);
    EXPECT_EQ(bar->singleStep(), 20);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.table->GetScrollY(), 20);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid.table->GetScrollY(), 220);
    // A step of nothing would stop the keys from scrolling at all.
    grid.table->SetScrollSteps(0, -5);
    QTest::keyClick(grid.table, Qt::Key_PageDown);
    EXPECT_EQ(grid.table->GetScrollY(), 221);

    grid.table->SetMinimumCellSize(250, 60);
    EXPECT_FALSE(grid.table->ResizeColumn(3, -51));
    EXPECT_TRUE(grid.table->ResizeColumn(3, -50));
    EXPECT_EQ(grid.table->GetColumnWidth(3), 250);
    EXPECT_FALSE(grid.table->ResizeRow(3, -8));
    EXPECT_EQ(grid.table->GetRowHeight(3), 67);
}

TEST(Table, CellsPostTheirButtonsToTheTableWindow) {
    Grid grid(6, 10, 100, 40);
    CTableCell* cell = grid.table->GetCellWindow(2, 3);
    QTest::mouseClick(cell, Qt::LeftButton);
    EXPECT_TRUE(grid.window.messages.empty());
    QCoreApplication::processEvents();
    QTest::mouseClick(cell, Qt::RightButton);
    QTest::mouseDClick(cell, Qt::LeftButton);
    QTest::mouseDClick(cell, Qt::RightButton);
    QTest::mouseClick(cell, Qt::MiddleButton);
    QCoreApplication::processEvents();
    using M = CMessageSink::Message;
    EXPECT_EQ(grid.window.messages, (std::vector<M>{{TWM_CELL_LBUTTONDOWN, 2, 3},
                                                    {TWM_CELL_LBUTTONUP, 2, 3},
                                                    {TWM_CELL_RBUTTONDOWN, 2, 3},
                                                    {TWM_CELL_RBUTTONUP, 2, 3},
                                                    {TWM_CELL_LBUTTONDBLCLK, 2, 3},
                                                    {TWM_CELL_RBUTTONDBLCLK, 2, 3}}));
}

TEST(Table, SetAllSizesAppliesToEveryDataColumnAndRowAndReturnsToTheTopLeft) {
    Grid grid(20, 40, 300, 67);
    RegisterCellClass<CTakeOverCell>("CTakeOverCell");
    grid.table->SetData(5, 16, CellData("CTakeOverCell", CVariant()));
    grid.table->ResizeColumn(5, -180);
    grid.table->ResizeRow(16, -37);
    grid.table->EnsureVisible(5, 16);
    ASSERT_GT(grid.table->GetScrollY(), 0);
    auto* cell = dynamic_cast<CTakeOverCell*>(grid.table->GetCellWindow(5, 16));
    ASSERT_NE(cell, nullptr);
    QPointer<CTakeOverCell> guard(cell);
    cell->ShowContextMenu(0, 0);
    EXPECT_EQ(cell->sizeAfterwards, QSize(120, 30));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
    for (int c = 1; c <= 20; ++c) ASSERT_EQ(grid.table->GetColumnWidth(c), 120);
    for (int r = 1; r <= 40; ++r) ASSERT_EQ(grid.table->GetRowHeight(r), 30);
    EXPECT_EQ(grid.table->GetTotalWidth(), 20 * 120);
    EXPECT_EQ(grid.table->GetTotalHeight(), 40 * 30);
    EXPECT_EQ(grid.table->GetScrollX(), 0);
    EXPECT_EQ(grid.table->GetScrollY(), 0);
    EXPECT_EQ(grid.table->GetFirstVisibleColumn(), 1);
    grid.width = 120;
    grid.height = 30;
    grid.ExpectExactBlock();
    // Headers keep their sizes.
    EXPECT_EQ(grid.table->GetColumnWidth(0), 175);
    EXPECT_EQ(grid.table->GetRowHeight(0), 50);
}

TEST(Table, KeysRepeatAndAccelerateAndTheWheelScrollsByAPage) {
    Grid grid(20, 40, 300, 67);
    // Keys reach the grid through whichever cell has the focus.
    CTableCell* cell = grid.table->GetCellWindow(1, 1);
    QTest::keyClick(cell, Qt::Key_Right);
    EXPECT_EQ(grid.table->GetFirstVisibleColumn(), 2);
    QTest::keyClick(cell, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(grid.table->GetScrollX(), 900);
    QTest::keyClick(grid.table, Qt::Key_Down);
    EXPECT_EQ(grid.table->GetScrollY(), 67);

    grid.table->SetSnapToCells(false);
    grid.table->ScrollBy(-10000, -10000);
    // Held key: presses, with repeated releases between them that do not end the repeat.
    int expected = 0;
    for (int press = 1; press <= 60; ++press) {
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier, QString(), press > 1);
        QApplication::sendEvent(grid.table, &down);
        expected += 8 + std::min(press, 50) / 2;
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(grid.table, &up);
    }
    EXPECT_EQ(grid.table->GetScrollX(), expected);
    EXPECT_EQ(grid.table->GetKeyRepeat(), 50);
    QTest::keyRelease(grid.table, Qt::Key_Right);
    EXPECT_EQ(grid.table->GetKeyRepeat(), 0);
    QTest::keyClick(grid.table, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(grid.table->GetScrollX(), expected - 64);
    QTest::keyClick(grid.table, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(grid.table->GetScrollX(), expected);
    QTest::keyClick(grid.table, Qt::Key_PageDown);
    EXPECT_EQ(grid.table->GetScrollY(), 64);

    auto wheel = [&](QWidget* target, int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    };
    wheel(cell, -120, Qt::NoModifier);
    EXPECT_EQ(grid.table->GetScrollY(), 128);
    wheel(grid.table->GetScrollBar(CTable::kVerticalBarId), 120, Qt::NoModifier);
    EXPECT_EQ(grid.table->GetScrollY(), 64);
    wheel(grid.table, 120, Qt::ShiftModifier);
    EXPECT_EQ(grid.table->GetScrollX(), expected - 64);
    grid.ExpectExactBlock();
}

TEST(Table, ScrollBarsFollowTheGridAndScrollItByCells) {
    Grid grid(10, 30, 300, 67);
    QScrollBar* vertical = grid.table->GetScrollBar(CTable::kVerticalBarId);
    QScrollBar* horizontal = grid.table->GetScrollBar(CTable::kHorizontalBarId);
    ASSERT_NE(vertical, nullptr);
    EXPECT_TRUE(vertical->isEnabled());
    EXPECT_EQ(vertical->maximum(), 30 * 67 - grid.PaneHeight());
    EXPECT_EQ(horizontal->maximum(), 3000 - grid.PaneWidth());

    vertical->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid.table->GetScrollY(), 67);
    EXPECT_EQ(vertical->value(), 67);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid.table->GetFirstVisibleRow(), 10);
    horizontal->setSliderPosition(450);
    EXPECT_EQ(grid.table->GetScrollX(), 450);
    horizontal->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid.table->GetScrollX(), 300);
    EXPECT_EQ(horizontal->value(), 300);

    // A table that fits has nothing to scroll.
    Grid small(1, 2, 100, 40);
    EXPECT_FALSE(small.table->GetScrollBar(CTable::kVerticalBarId)->isEnabled());
    EXPECT_FALSE(small.table->GetScrollBar(CTable::kHorizontalBarId)->isEnabled());
    small.table->ScrollBy(50, 50);
    EXPECT_EQ(small.table->GetScrollX(), 0);
}

TEST(Table, PanesCornerAndBarsLineUp) {
    Grid grid(10, 30, 150, 40);
    const QRect corner = grid.table->GetCellWindow(0, 0)->geometry();
    EXPECT_EQ(corner, QRect(0, 0, 175, 50));
    EXPECT_EQ(grid.table->GetColumnHeaderPane()->geometry(), QRect(175, 0, 800 - 17 - 175, 50));
    EXPECT_EQ(grid.table->GetRowHeaderPane()->geometry(), QRect(0, 50, 175, 600 - 17 - 50));
    EXPECT_EQ(grid.table->GetCellPane()->geometry(), QRect(175, 50, 608, 533));
    EXPECT_EQ(grid.table->GetScrollBar(CTable::kVerticalBarId)->geometry(),
              QRect(800 - 17, 50, 17, 533));
    EXPECT_EQ(grid.table->GetScrollBar(CTable::kHorizontalBarId)->geometry(),
              QRect(175, 600 - 17, 608, 17));
    grid.table->ScrollBy(75, 20);
    grid.table->Select(2, 3);
    // For looking at: the grid as drawn.
    grid.window.grab().save(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/table-grid.png"));
    const QImage image = grid.window.grab().toImage();
    EXPECT_EQ(image.pixelColor(790, 590), QColor(187, 198, 214));
    EXPECT_EQ(image.pixelColor(10, 590), QColor(173, 186, 206));
}
