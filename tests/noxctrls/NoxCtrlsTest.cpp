// The controls' state machines as a user drives them with the mouse, and what they paint.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolTip>
#include <vector>

#include "noxctrls/CheckCtrl.h"
#include "noxctrls/ImageCtrl.h"
#include "noxctrls/NoxCursors.h"
#include "noxctrls/NoxToolTip.h"
#include "noxctrls/ProgressCtrl.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"

namespace {

// A skin folder with one-coloured bitmaps, so a grab tells which picture is shown.
class SkinFolder {
public:
    SkinFolder() { EXPECT_TRUE(m_dir.isValid()); }
    QString Path() const { return m_dir.path() + QLatin1Char('/'); }
    void Write(const QString& file, const QColor& color, QSize size = QSize(40, 20)) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        ASSERT_TRUE(image.save(Path() + file, "BMP"));
    }

private:
    QTemporaryDir m_dir;
};

QColor CenterColor(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

void Enter(QWidget& w) {
    QEnterEvent event(QPointF(5, 5), QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&w, &event);
}
void Leave(QWidget& w) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&w, &event);
}
void Mouse(QWidget& w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(pos), w.mapToGlobal(QPointF(pos)), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}
void Press(QWidget& w, QPoint pos) { Mouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton); }
void Move(QWidget& w, QPoint pos, bool down) {
    Mouse(w, QEvent::MouseMove, pos, down ? Qt::LeftButton : Qt::NoButton);
}
void Release(QWidget& w, QPoint pos) { Mouse(w, QEvent::MouseButtonRelease, pos, Qt::NoButton); }

// Records the ids a control sends.
struct Commands {
    std::vector<int> ids;
    void Watch(CNoxCtrl& control) {
        QObject::connect(&control, &CNoxCtrl::command, [this](int id) { ids.push_back(id); });
    }
};

const QColor kNormal(200, 0, 0), kHover(0, 200, 0), kPressed(0, 0, 200), kDisabled(90, 90, 90);

void WriteButton(SkinFolder& skin, const QString& base) {
    skin.Write(base + "_n.bmp", kNormal);
    skin.Write(base + "_h.bmp", kHover);
    skin.Write(base + "_c.bmp", kPressed);
    skin.Write(base + "_0.bmp", kDisabled);
}

}  // namespace

TEST(PushCtrl, MouseDrivesStatesAndOnlyAReleaseInsideSendsTheCommand) {
    SkinFolder skin;
    WriteButton(skin, "Export");
    CPushCtrl button;
    button.SetSkinFolder(skin.Path());
    EXPECT_TRUE(button.LoadBitmaps("Export").isEmpty());
    button.SetId(1012);
    button.resize(40, 20);
    Commands commands;
    commands.Watch(button);

    EXPECT_EQ(CenterColor(button), kNormal);
    Enter(button);
    EXPECT_EQ(button.CurrentState(), CPushCtrl::State::Hover);
    EXPECT_EQ(CenterColor(button), kHover);

    Press(button, {10, 10});
    EXPECT_EQ(CenterColor(button), kPressed);
    // Dragged off while held: looks normal, back on: pressed again.
    Move(button, {80, 10}, true);
    EXPECT_EQ(button.CurrentState(), CPushCtrl::State::Normal);
    Move(button, {10, 10}, true);
    EXPECT_EQ(button.CurrentState(), CPushCtrl::State::Pressed);
    Release(button, {10, 10});
    EXPECT_EQ(commands.ids, std::vector<int>{1012});
    EXPECT_EQ(button.CurrentState(), CPushCtrl::State::Hover);

    // Released elsewhere: no command.
    Press(button, {10, 10});
    Move(button, {80, 10}, true);
    Release(button, {80, 10});
    EXPECT_EQ(commands.ids.size(), 1u);
    EXPECT_EQ(button.CurrentState(), CPushCtrl::State::Normal);

    // A release without a press on the button (pressed elsewhere, dragged in) sends nothing.
    Release(button, {10, 10});
    EXPECT_EQ(commands.ids.size(), 1u);

    Leave(button);
    EXPECT_EQ(CenterColor(button), kNormal);
}

TEST(PushCtrl, DisabledButtonShowsItsPictureAndIgnoresTheMouse) {
    SkinFolder skin;
    WriteButton(skin, "close");
    CPushCtrl button;
    button.SetSkinFolder(skin.Path());
    button.LoadBitmaps("close");
    button.resize(40, 20);
    Commands commands;
    commands.Watch(button);

    Enter(button);
    Press(button, {10, 10});
    button.setEnabled(false);  // disabled while held down
    EXPECT_EQ(CenterColor(button), kDisabled);
    Release(button, {10, 10});
    Enter(button);
    Press(button, {10, 10});
    Release(button, {10, 10});
    EXPECT_TRUE(commands.ids.empty());

    // Enabled again it starts from the normal picture; a click works.
    button.setEnabled(true);
    EXPECT_EQ(CenterColor(button), kNormal);
    Press(button, {10, 10});
    Release(button, {10, 10});
    EXPECT_EQ(commands.ids.size(), 1u);
}

TEST(PushCtrl, SkinWithoutDisabledPictureFallsBackToNormalAndReportsMissingFiles) {
    SkinFolder skin;
    // The command bar's workspace buttons: three pictures per state, no disabled one.
    skin.Write("23_n.bmp", kNormal);
    skin.Write("23_h.bmp", kHover);
    skin.Write("23_c.bmp", kPressed);
    CPushCtrl button;
    button.SetSkinFolder(skin.Path());
    EXPECT_TRUE(button.LoadBitmaps("23", "nhc").isEmpty());
    button.resize(40, 20);
    button.setEnabled(false);
    EXPECT_EQ(CenterColor(button), kNormal);

    // Asked for all four, the missing one is named with its full path.
    EXPECT_EQ(button.LoadBitmaps("23"), QStringList{skin.Path() + "23_0.bmp"});
}

TEST(CheckCtrl, ClickTogglesBeforeTheCommandAndShowsTheOnPictures) {
    SkinFolder skin;
    WriteButton(skin, "showDep");
    const QColor on(250, 250, 0), onHover(0, 250, 250), onPressed(250, 0, 250);
    skin.Write("showDep_n1.bmp", on);
    skin.Write("showDep_h1.bmp", onHover);
    skin.Write("showDep_c1.bmp", onPressed);
    CCheckCtrl check;
    check.SetSkinFolder(skin.Path());
    EXPECT_TRUE(check.LoadBitmaps("showDep").isEmpty());
    check.SetId(1038);
    check.resize(40, 20);
    std::vector<bool> stateAtCommand;
    QObject::connect(&check, &CNoxCtrl::command,
                     [&](int id) { stateAtCommand.push_back(id == 1038 && check.IsChecked()); });

    Enter(check);
    Press(check, {5, 5});
    Release(check, {5, 5});
    EXPECT_TRUE(check.IsChecked());
    EXPECT_EQ(stateAtCommand, std::vector<bool>{true});
    EXPECT_EQ(CenterColor(check), onHover);
    Press(check, {5, 5});
    EXPECT_EQ(CenterColor(check), onPressed);
    Leave(check);
    Move(check, {90, 5}, true);
    Release(check, {90, 5});  // released elsewhere: stays on
    EXPECT_TRUE(check.IsChecked());
    EXPECT_EQ(CenterColor(check), on);

    check.SetChecked(false);
    EXPECT_EQ(CenterColor(check), kNormal);
    check.setEnabled(false);
    check.SetChecked(true);
    EXPECT_EQ(CenterColor(check), kDisabled);
    EXPECT_EQ(stateAtCommand.size(), 1u);  // setting the state sends nothing
}

TEST(StaticCtrl, ColourTextsAreSixHexDigitsAndMalformedOnesChangeNothing) {
    CStaticCtrl text;
    text.resize(120, 20);
    EXPECT_TRUE(text.SetTextColor("7f85B4"));
    EXPECT_EQ(text.TextColor(), QColor(0x7F, 0x85, 0xB4));
    EXPECT_EQ(text.HoverColor(), QColor(0x7F, 0x85, 0xB4));
    for (const char* bad :
         {"", "12345", "1234567", "GG0000", "+12345", " 12345", "12 345", "#12345", "０12345"}) {
        EXPECT_FALSE(text.SetTextColor(QString::fromUtf8(bad))) << bad;
        EXPECT_FALSE(text.SetBackColor(QString::fromUtf8(bad))) << bad;
    }
    EXPECT_EQ(text.TextColor(), QColor(0x7F, 0x85, 0xB4));
    EXPECT_FALSE(text.HasBackColor());

    // The map's status line: value text on its class colour.
    EXPECT_TRUE(text.SetBackColor("415420"));
    text.SetText("1.234,5");
    EXPECT_EQ(text.grab().toImage().pixelColor(1, 1), QColor(0x41, 0x54, 0x20));
    EXPECT_EQ(ColorText(text.BackColor()), "415420");
}

TEST(StaticCtrl, HoverAndDisabledColoursAndClicksOnlyWithThePointerCursor) {
    CStaticCtrl text;
    text.resize(120, 20);
    text.SetId(1020);
    text.SetColors(Qt::black, Qt::blue, Qt::gray);
    Commands commands;
    commands.Watch(text);

    Enter(text);
    EXPECT_EQ(text.CurrentTextColor(), QColor(Qt::blue));
    Press(text, {5, 5});
    Release(text, {5, 5});
    EXPECT_TRUE(commands.ids.empty());  // an "Arrow" text is not clickable

    text.SetCursorName("Pointer");
    Press(text, {5, 5});
    Release(text, {5, 5});
    Press(text, {5, 5});
    Release(text, {300, 5});
    EXPECT_EQ(commands.ids, std::vector<int>{1020});

    text.setEnabled(false);
    EXPECT_EQ(text.CurrentTextColor(), QColor(Qt::gray));
    Leave(text);
    text.setEnabled(true);
    EXPECT_EQ(text.CurrentTextColor(), QColor(Qt::black));
}

TEST(ProgressCtrl, ValueIsClampedAndTheBarFillsFromTheLeft) {
    SkinFolder skin;
    const QColor track(230, 230, 230), active(20, 120, 20), off(120, 120, 120);
    skin.Write("bar_n.bmp", track, {100, 10});
    skin.Write("bar_a.bmp", active, {100, 10});
    skin.Write("bar_0.bmp", off, {100, 10});
    CProgressCtrl bar;
    bar.SetSkinFolder(skin.Path());
    EXPECT_TRUE(bar.LoadBitmaps().isEmpty());
    bar.resize(200, 10);
    bar.setFont(QFont("DejaVu Sans", 1));

    for (auto [given, shown] : {std::pair{-5, 0}, {0, 0}, {37, 37}, {100, 100}, {250, 100}}) {
        bar.SetValue(given);
        EXPECT_EQ(bar.Value(), shown) << given;
    }
    bar.SetValue(50);
    QImage image = bar.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 1), active);
    EXPECT_EQ(image.pixelColor(197, 1), track);
    bar.SetValue(0);
    EXPECT_EQ(bar.grab().toImage().pixelColor(2, 1), track);
    bar.setEnabled(false);
    EXPECT_EQ(bar.grab().toImage().pixelColor(197, 1), off);
}

TEST(ImageCtrl, MoveCursorDragsTheWholeWindowOtherImagesDoNot) {
    SkinFolder skin;
    skin.Write("back.bmp", kNormal, {200, 100});
    QWidget window;
    window.resize(200, 100);
    window.move(100, 100);
    auto* image = new CImageCtrl(&window);
    image->SetSkinFolder(skin.Path());
    EXPECT_TRUE(image->LoadBitmap("back.bmp").isEmpty());
    image->setGeometry(0, 0, 200, 100);
    window.show();
    const QPoint start = window.pos();

    Press(*image, {10, 10});
    Move(*image, {40, 30}, true);
    Release(*image, {40, 30});
    // Without the "Move" cursor the image stays put.
    EXPECT_EQ(window.pos(), start);

    image->SetCursorName("Move");
    Press(*image, {10, 10});
    Move(*image, {40, 30}, true);
    Release(*image, {40, 30});
    Move(*image, {80, 80}, false);  // after the release the window no longer follows
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
    EXPECT_EQ(image->cursor().shape(), Qt::SizeAllCursor);
}

TEST(ImageCtrl, MissingBitmapIsReportedAndPaintedAsAMarkedStandIn) {
    SkinFolder skin;
    CImageCtrl image;
    image.SetSkinFolder(skin.Path());
    EXPECT_EQ(image.LoadBitmap("back.bmp"), QStringList{skin.Path() + "back.bmp"});
    image.resize(60, 30);
    // The stand-in is framed in red.
    EXPECT_EQ(image.grab().toImage().pixelColor(0, 0), QColor(200, 0, 40));
}

TEST(NoxToolTip, AppearsAfterTheDelayInTheConfiguredLookAndLeavesWithTheMouse) {
    SkinFolder skin;
    WriteButton(skin, "Print");
    CToolTipStyle style;
    style.font = "DejaVu Serif";
    style.fontSize = 13;
    style.delay = 30;
    style.textColor = QColor(0, 0, 0);
    style.backColor = QColor(0, 0, 0);  // the settings' defaults: black on black
    SetToolTipStyle(style);
    CPushCtrl button;
    button.SetSkinFolder(skin.Path());
    button.LoadBitmaps("Print");
    button.SetToolTipText("Tabelle drucken");
    button.resize(40, 20);
    button.show();

    // The clock starts before the pointer enters, so that it never counts less than the delay.
    QElapsedTimer clock;
    clock.start();
    Enter(button);
    EXPECT_EQ(VisibleNoxToolTip(), nullptr);  // not before the delay
    while (!VisibleNoxToolTip() && clock.elapsed() < 10000) QApplication::processEvents();
    auto* tip = qobject_cast<QLabel*>(VisibleNoxToolTip());
    ASSERT_NE(tip, nullptr);
    EXPECT_GE(clock.elapsed(), 25);
    EXPECT_EQ(tip->text(), "Tabelle drucken");
    EXPECT_EQ(tip->font().family(), "DejaVu Serif");
    EXPECT_EQ(tip->font().pointSize(), 13);
    // Black on black would hide the text: it is written in white instead.
    EXPECT_TRUE(tip->styleSheet().contains("color: #FFFFFF"));
    EXPECT_TRUE(tip->styleSheet().contains("background: #000000"));

    Leave(button);
    EXPECT_EQ(VisibleNoxToolTip(), nullptr);
    SetToolTipStyle(CToolTipStyle());
}

// The toolkit's own tips (the bitmap buttons of the table cells, plain widgets) take the same
// colours and font as the push buttons' tips.
TEST(NoxToolTip, ToolkitTipsTakeTheSameLook) {
    CToolTipStyle style;
    style.font = "DejaVu Serif";
    style.fontSize = 11;
    style.textColor = QColor(30, 30, 30);
    style.backColor = QColor(255, 251, 210);
    SetToolTipStyle(style);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), style.backColor);
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), style.textColor);
    EXPECT_EQ(QToolTip::font().family(), "DejaVu Serif");
    EXPECT_EQ(QToolTip::font().pointSize(), 11);
    SetToolTipStyle(CToolTipStyle());
}

TEST(NoxCursors, ProgramCursorsReplaceThePlatformStandIns) {
    ClearNamedCursors();
    CPushCtrl before;
    EXPECT_EQ(before.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(NamedCursor("Arrow").shape(), Qt::ArrowCursor);
    EXPECT_EQ(NamedCursor("(default)").shape(), Qt::ArrowCursor);

    SetNamedCursor("Pointer", QCursor(Qt::CrossCursor));
    CPushCtrl after;
    EXPECT_EQ(after.cursor().shape(), Qt::CrossCursor);
    EXPECT_EQ(NamedCursor("pointer").shape(), Qt::CrossCursor);  // names ignore case
    ClearNamedCursors();
}
