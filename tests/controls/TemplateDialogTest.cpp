// Windows built from templates: every built-in template with a complete skin, missing
// bitmaps named by file, skins read afresh from disk, anchors, commands.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <vector>

#include "controls/TemplateDialog.h"
#include "noxctrls/CheckCtrl.h"
#include "noxctrls/ImageCtrl.h"
#include "noxctrls/ProgressCtrl.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"

namespace {

void WriteBitmap(const QString& path, QSize size, const QColor& color) {
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path, "BMP")) << path.toStdString();
}

// Writes every bitmap the template names, as the skin painter does.
void WriteSkin(const CWindowTemplate& layout, const QString& ui, const QColor& color) {
    for (const CTemplateControl& c : layout.controls) {
        const QString folder = ui + "/" + c.skin;
        const QString base = c.Text("bitmap");
        if (c.kind == "image") {
            WriteBitmap(folder + base, c.rect.size(), color);
        } else if (c.kind == "push") {
            QStringList bases{base};
            for (const auto& alternate : c.properties.value("alternates").toArray())
                bases << alternate.toString();
            for (const QString& b : bases)
                for (QChar ending : c.Text("states", "0nhc"))
                    WriteBitmap(folder + b + "_" + ending + ".bmp", c.rect.size(), color);
        } else if (c.kind == "check") {
            for (const char* ending : {"_n", "_h", "_c", "_n1", "_h1", "_c1", "_0"})
                WriteBitmap(folder + base + ending + ".bmp", c.rect.size(), color);
        } else if (c.kind == "progress") {
            for (const char* ending : {"_n", "_a", "_0"})
                WriteBitmap(folder + "bar" + ending + ".bmp", c.rect.size(), color);
        }
    }
}

CWindowTemplate Load(int number) {
    CWindowTemplate layout;
    QString error;
    EXPECT_TRUE(LoadWindowTemplate(number, layout, error)) << error.toStdString();
    return layout;
}

void Click(QWidget& w) {
    const QPointF pos(w.width() / 2.0, w.height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, pos, w.mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, w.mapToGlobal(pos), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
}

class CCommandRecorder : public CTemplateDialog {
public:
    using CTemplateDialog::CTemplateDialog;
    std::vector<int> commands;

protected:
    void OnCommand(int id) override { commands.push_back(id); }
};

}  // namespace

TEST(TemplateDialog, EveryBuiltInTemplateBuildsWithACompleteSkin) {
    QTemporaryDir ui;
    for (int number : BuiltInTemplates()) WriteSkin(Load(number), ui.path(), Qt::darkCyan);

    for (int number : BuiltInTemplates()) {
        CTemplateDialog dialog(number, nullptr, CTemplateDialog::Placement::Window, ui.path());
        EXPECT_TRUE(dialog.HasTemplate());
        EXPECT_TRUE(dialog.TemplateErrors().isEmpty())
            << number << ": " << dialog.TemplateErrors().join('\n').toStdString();
        const CWindowTemplate& layout = dialog.Layout();
        EXPECT_EQ(dialog.size(), layout.size) << number;
        for (const CTemplateControl& c : layout.controls) {
            QWidget* widget = dialog.Controls().Control(c.id);
            ASSERT_NE(widget, nullptr) << number << " " << c.id;
            EXPECT_EQ(widget->geometry(), c.rect) << number << " " << c.id;
            EXPECT_EQ(CTemplateControls::IdOf(widget), c.id);
            const bool typed = c.kind == "image"      ? dialog.Controls().Image(c.id) != nullptr
                               : c.kind == "check"    ? dialog.Controls().Check(c.id) != nullptr
                               : c.kind == "push"     ? dialog.Controls().Push(c.id) != nullptr
                               : c.kind == "static"   ? dialog.Controls().Static(c.id) != nullptr
                               : c.kind == "progress" ? dialog.Controls().Progress(c.id) != nullptr
                                                      : true;
            EXPECT_TRUE(typed) << number << " " << c.id << " " << c.kind.toStdString();
        }
    }
    // Typed lookups refuse the wrong class.
    CTemplateDialog map(271, nullptr, CTemplateDialog::Placement::Window, ui.path());
    EXPECT_EQ(map.Controls().Static(1003), nullptr);
    EXPECT_EQ(map.Controls().Push(1074), nullptr);
    EXPECT_EQ(map.Controls().Control(4711), nullptr);
}

TEST(TemplateDialog, MissingBitmapsAreNamedAndTheWindowStillBuilds) {
    QTemporaryDir ui;
    const CWindowTemplate layout = Load(156);
    WriteSkin(layout, ui.path(), Qt::darkBlue);
    ASSERT_TRUE(QFile::remove(ui.path() + "/TableTop/Export_h.bmp"));
    ASSERT_TRUE(QFile::remove(ui.path() + "/TableTop/TopM.bmp"));

    QWidget table;
    CTemplateDialog bar(156, &table, CTemplateDialog::Placement::Child, ui.path());
    EXPECT_EQ(bar.TemplateErrors(),
              (QStringList{"Die Bilddatei \"" + ui.path()
                               + "/TableTop/TopM.bmp\" fehlt oder ist nicht lesbar.",
                           "Die Bilddatei \"" + ui.path()
                               + "/TableTop/Export_h.bmp\" fehlt oder ist nicht lesbar."}));
    EXPECT_NE(bar.Controls().Push(1012), nullptr);
    EXPECT_FALSE(bar.isWindow());
}

TEST(TemplateDialog, MissingTemplateGivesAnEmptyWindowAndTheMessage) {
    CTemplateDialog dialog(999);
    EXPECT_FALSE(dialog.HasTemplate());
    EXPECT_EQ(dialog.TemplateErrors(),
              QStringList{"Die Fenstervorlage 999 (:/templates/999.json) ist nicht vorhanden."});
    EXPECT_TRUE(dialog.Controls().Ids().isEmpty());
}

TEST(TemplateDialog, SkinsAreDataAReplacedBitmapShowsInTheNextWindow) {
    QTemporaryDir ui;
    const CWindowTemplate layout = Load(167);
    WriteSkin(layout, ui.path(), QColor(200, 30, 30));
    const QPoint inside(5, 5);  // on the background, away from the text and the bar
    {
        CTemplateDialog first(167, nullptr, CTemplateDialog::Placement::Window, ui.path());
        EXPECT_EQ(first.grab().toImage().pixelColor(inside), QColor(200, 30, 30));
    }
    // Same size, same second: only the file's content tells them apart.
    WriteBitmap(ui.path() + "/Update/back.bmp", layout.size, QColor(30, 30, 200));
    CTemplateDialog second(167, nullptr, CTemplateDialog::Placement::Window, ui.path());
    EXPECT_EQ(second.grab().toImage().pixelColor(inside), QColor(30, 30, 200));
}

TEST(TemplateDialog, AnchoredControlsFollowTheWindowWidth) {
    QTemporaryDir ui;
    WriteSkin(Load(156), ui.path(), Qt::gray);
    QWidget table;
    auto* bar = new CTemplateDialog(156, &table, CTemplateDialog::Placement::Child, ui.path());
    table.show();
    bar->resize(1200, 37);  // the table window gives the bar its full width
    EXPECT_EQ(bar->Controls().Push(1003)->geometry(), QRect(1170, 6, 26, 26));
    EXPECT_EQ(bar->Controls().Push(1012)->geometry(), QRect(1110, 6, 26, 26));
    EXPECT_EQ(bar->Controls().Image(1001)->geometry(), QRect(16, 0, 1168, 37));
    EXPECT_EQ(bar->Controls().Image(1002)->geometry(), QRect(1184, 0, 16, 37));
    EXPECT_EQ(bar->Controls().Static(1036)->geometry(), QRect(16, 8, 640, 21));
    bar->resize(700, 37);
    EXPECT_EQ(bar->Controls().Push(1003)->geometry(), QRect(670, 6, 26, 26));
    EXPECT_EQ(bar->Controls().Image(1001)->geometry(), QRect(16, 0, 668, 37));
}

TEST(TemplateDialog, ClicksReachOnCommandWithTheControlId) {
    QTemporaryDir ui;
    WriteSkin(Load(271), ui.path(), Qt::gray);
    CCommandRecorder map(271, nullptr, CTemplateDialog::Placement::Window, ui.path());
    Click(*map.Controls().Push(1004));    // ZoomIn
    Click(*map.Controls().Static(1020));  // the data-field title opens its menu
    Click(*map.Controls().Static(1074));  // the status line is not clickable
    map.EnableControl(1005, false);
    Click(*map.Controls().Push(1005));  // disabled ZoomOut
    EXPECT_EQ(map.commands, (std::vector<int>{1004, 1020}));

    // Without a subclass the window hands the command on as a signal.
    CTemplateDialog search(188, nullptr, CTemplateDialog::Placement::Window, ui.path());
    WriteSkin(search.Layout(), ui.path(), Qt::gray);
    std::vector<int> ids;
    QObject::connect(&search, &CTemplateDialog::command, [&](int id) { ids.push_back(id); });
    Click(*search.Controls().Check(1116));
    EXPECT_EQ(ids, std::vector<int>{1116});
    EXPECT_TRUE(search.Controls().Check(1116)->IsChecked());
}

TEST(TemplateDialog, AreaIsReplacedByTheWindowsOwnChild) {
    QTemporaryDir ui;
    WriteSkin(Load(179), ui.path(), Qt::gray);
    CTemplateDialog info(179, nullptr, CTemplateDialog::Placement::Window, ui.path());
    QPointer<QWidget> area = info.Controls().Control(1037);
    auto* page = new QLabel("Seite");
    EXPECT_TRUE(info.Controls().Replace(1037, page));
    EXPECT_TRUE(area.isNull());  // the placeholder is gone
    EXPECT_EQ(info.Controls().Control<QLabel>(1037), page);
    EXPECT_EQ(page->parentWidget(), &info);
    EXPECT_EQ(page->geometry(), QRect(30, 60, 340, 360));
    auto* stray = new QLabel;
    EXPECT_FALSE(info.Controls().Replace(4711, stray));
    delete stray;
}

TEST(TemplateDialog, BackgroundWithMoveCursorDragsTheDialog) {
    QTemporaryDir ui;
    WriteSkin(Load(176), ui.path(), Qt::gray);
    CTemplateDialog dialog(176, nullptr, CTemplateDialog::Placement::Window, ui.path());
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    dialog.move(50, 50);
    dialog.show();
    CImageCtrl* back = dialog.Controls().Image(1000);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->MovesWindow());
    const QPoint start = dialog.pos();
    auto send
        = [&](QEvent::Type type, QPointF pos, Qt::MouseButton button, Qt::MouseButtons buttons) {
              QMouseEvent event(type, pos, back->mapToGlobal(pos), button, buttons, Qt::NoModifier);
              QApplication::sendEvent(back, &event);
          };
    send(QEvent::MouseButtonPress, {100, 10}, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, {160, 30}, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {160, 30}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(dialog.pos(), start + QPoint(60, 20));
    // The edit field lies above the background.
    EXPECT_EQ(dialog.childAt(20, 50), dialog.Controls().Edit(1025));
}
