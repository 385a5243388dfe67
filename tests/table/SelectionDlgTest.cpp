// The selection and configuration dialogs on the fixture almanac, with a main window that
// records what the dialogs ask of it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "fixtures/FixtureAlmanac.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"
#include "table/SelectDatenDlg.h"
#include "table/SelectStaatDlg.h"
#include "table/TabConfigDlg.h"
#include "text/NOXTreeCtrl.h"

using namespace fixture;

namespace {

class CFakeHost : public CTableHost {
public:
    void OpenTextBrowserLandID(std::int32_t) override {}
    void ShowMap(std::int32_t) override {}
    void ShowFlag(std::int32_t) override {}
    void ShowMapValues(std::int32_t, unsigned) override {}
    void OpenCountrySelection() override {}
    void OpenDataSelection() override {}
    void OpenCellInfo(std::int32_t, std::int32_t, unsigned) override {}
    void PrintHTML(const std::string&) override {}
    void CloseTable() override {}
    void ApplySelection(const IdList& countries, const IdList& dataIds) override {
        applied.emplace_back(countries, dataIds);
    }
    const IdList& CountryIds() const override { return countries; }
    const IdList& DataIds() const override { return dataIds; }
    bool AllCountries() const override { return all; }
    void SetAllCountries(bool on) override { all = on; }
    bool ProfileMenu(const std::string& extension, int x, int y, std::string& name,
                     std::string& path) override {
        menus.push_back(extension);
        menuAt = QPoint(x, y);
        name = profileName;
        path = "/profile." + extension;
        return !profileName.empty();
    }
    void SaveProfileAsk(const std::string& extension, const IdList& ids) override {
        saved.emplace_back(extension, ids);
    }
    void DeleteProfile(const std::string& extension) override { deleted.push_back(extension); }
    bool LoadCObject(const std::string&, IdList& ids) override {
        if (!profileReadable) return false;
        ids = profile;
        return true;
    }

    IdList countries, dataIds, profile;
    bool all = false, profileReadable = true;
    std::string profileName;
    QPoint menuAt;
    std::vector<std::pair<IdList, IdList>> applied;
    std::vector<std::pair<std::string, IdList>> saved;
    std::vector<std::string> menus, deleted;
};

class SelectionDlg : public testing::Test {
protected:
    void SetUp() override {
        const std::string dir = MakeTestDirectory("selection-dlg");
        m_db.Open(CreateFixtureAlmanac(dir), true, true, kAlmanacConnect);
        m_messages = QString::fromStdString(dir) + "/messages.txt";
        qputenv("KOMPENDOR_MESSAGES", m_messages.toLocal8Bit());
        ResetDBErrors();
    }
    void TearDown() override {
        qunsetenv("KOMPENDOR_MESSAGES");
    }

    // The message boxes shown so far, one "caption<TAB>text" line each.
    QStringList Messages() const {
        QFile file(m_messages);
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    CDatabase m_db;
    CFakeHost m_host;
    QString m_messages;
};

void Click(QWidget* w) {
    ASSERT_NE(w, nullptr);
    const QPointF pos(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

void Key(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

// Runs action once the configuration dialog has come into view, which is when its open timer
// has ticked the preset lists: filling the trees may take longer than any fixed wait.
void WhenOpen(CTabConfigDlg& config, std::function<void()> action) {
    auto* timer = new QTimer(&config);
    QObject::connect(timer, &QTimer::timeout, &config, [timer, &config, action] {
        if (config.y() <= -1000) return;
        timer->stop();
        action();
    });
    timer->start(5);
}

const QString kNoCountries = "H I N W E I S\tBitte wählen Sie zunächst die gewünschten Länder aus!";
const QString kNoData = "H I N W E I S\tBitte wählen Sie zunächst die gewünschten Datenfelder aus!";

}  // namespace

TEST_F(SelectionDlg, ApplyingNeedsATickAndHandsOverTheTreeOrder) {
    CSelectStaatDlg staaten(nullptr, &m_db, &m_host);
    staaten.show();
    Click(staaten.Controls().Push(1004));
    EXPECT_EQ(Messages(), QStringList{kNoCountries});
    EXPECT_TRUE(staaten.isVisible());
    EXPECT_TRUE(m_host.applied.empty());

    // Apply keeps the window, OK closes it; countries go in alphabetical tree order.
    staaten.SetSelection({kOesterreich, kDeutschland});
    Click(staaten.Controls().Push(1006));
    EXPECT_TRUE(staaten.isVisible());
    Key(staaten.Tree(), Qt::Key_Return);
    EXPECT_FALSE(staaten.isVisible());
    const std::pair<IdList, IdList> countries{{kDeutschland, kOesterreich}, {}};
    EXPECT_EQ(m_host.applied, (std::vector{countries, countries}));

    CSelectDatenDlg daten(nullptr, &m_db, &m_host);
    daten.show();
    Click(daten.Controls().Push(1006));
    EXPECT_EQ(Messages().last(), kNoData);
    daten.SetSelection({kBip, kEinwohner, kBevoelkerung});
    Click(daten.Controls().Push(1009));
    Click(daten.Controls().Push(1006));
    // Untick all leaves nothing to apply.
    EXPECT_EQ(Messages(), (QStringList{kNoCountries, kNoData, kNoData}));
    daten.SetSelection({kBip, kEinwohner});
    Click(daten.Controls().Push(1004));
    EXPECT_FALSE(daten.isVisible());
    EXPECT_EQ(m_host.applied.back(), (std::pair<IdList, IdList>{{}, {kEinwohner, kBip}}));
    EXPECT_EQ(m_host.applied.size(), 3u);
}

// A group of the data-field tree stands for its fields: ticking it ticks them, and they are
// what is applied; a group's own ID never is.
TEST_F(SelectionDlg, TickingAGroupTicksItsFields) {
    CSelectDatenDlg daten(nullptr, &m_db, &m_host);
    daten.show();
    CNOXTreeCtrl* tree = daten.Tree();
    QTreeWidgetItem* wirtschaft = tree->FindItem(kWirtschaft);
    ASSERT_NE(wirtschaft, nullptr);
    const QPoint box(tree->LayoutOf(wirtschaft).checkX + 8,
                     tree->visualItemRect(wirtschaft).center().y());
    QMouseEvent press(QEvent::MouseButtonPress, box, tree->viewport()->mapToGlobal(box),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree->viewport(), &press);
    EXPECT_EQ(tree->CheckStateOf(wirtschaft), Qt::Checked);

    // One field less: the group shows partly ticked, and the others are applied.
    tree->SetCheck(tree->FindItem(kWaehrung), false);
    EXPECT_EQ(tree->CheckStateOf(wirtschaft), Qt::PartiallyChecked);
    Click(daten.Controls().Push(1006));
    EXPECT_EQ(m_host.applied.back(), (std::pair<IdList, IdList>{{}, {kBip, kInflation}}));

    // The profile and the configuration dialog get the fields, too.
    Click(daten.Controls().Push(1031));
    EXPECT_EQ(m_host.saved.back(), (std::pair<std::string, IdList>{"vlt", {kBip, kInflation}}));
    CTabConfigDlg config(nullptr, &m_db, &m_host);
    config.FillTrees();
    config.DataTree()->SetCheck(config.DataTree()->FindItem(kBevoelkerung), true);
    EXPECT_EQ(CheckedIds(*config.DataTree()), (IdList{kEinwohner, kDichte, kStaatsform}));
}

TEST_F(SelectionDlg, AllEntriesSettingIsSharedByTheCountryTrees) {
    CSelectStaatDlg staaten(nullptr, &m_db, &m_host);
    EXPECT_FALSE(staaten.Tree()->SelectID(kFaeroeer));
    staaten.SetSelection({kDeutschland});

    Click(staaten.Controls().Push(1038));
    EXPECT_TRUE(m_host.all);
    EXPECT_TRUE(staaten.Tree()->SelectID(kFaeroeer));
    // The ticks made before the switch stay.
    EXPECT_EQ(CheckedIds(*staaten.Tree()), (IdList{kDeutschland}));

    // The configuration dialog fills its tree with the setting; switching it off there reaches
    // the country window when it is opened again.
    CTabConfigDlg config(nullptr, &m_db, &m_host);
    config.FillTrees();
    EXPECT_TRUE(config.CountryTree()->SelectID(kFaeroeer));
    Click(config.Controls().Push(1038));
    EXPECT_FALSE(m_host.all);
    EXPECT_FALSE(config.CountryTree()->SelectID(kFaeroeer));
    staaten.SetSelection({kFaeroeer, kSchweiz});
    EXPECT_FALSE(staaten.Tree()->SelectID(kFaeroeer));
    EXPECT_EQ(CheckedIds(*staaten.Tree()), (IdList{kSchweiz}));
}

TEST_F(SelectionDlg, TypeAheadSelectsTheFirstTopLevelCountry) {
    CSelectStaatDlg staaten(nullptr, &m_db, &m_host);
    QLineEdit* edit = staaten.Controls().Edit(1025);
    ASSERT_NE(edit, nullptr);
    const struct {
        const char* typed;
        std::int32_t id;
    } found[] = {{"d", kDaenemark},   {"De", kDeutschland}, {"Ö", kOesterreich},
                 {"ö", kOesterreich}, {"ä", kAegypten},     {"SCHW", kSchweiz}};
    for (const auto& c : found) {
        edit->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(staaten.Tree()->GetSelectedID(), c.id) << c.typed;
    }

    // Text that matches nothing, quotes and wildcards included, is reported as a failed read
    // and leaves the selection alone.
    for (const char* typed : {"x", "'", "*", "?", "[", "D*", "' OR ''='", "Deutschland'"}) {
        ResetDBErrors();
        edit->setText(QString::fromUtf8(typed));
        EXPECT_EQ(LastDBError().context, "CSelectStaatDlg::OnChangeEdit") << typed;
        EXPECT_EQ(LastDBError().message, "No current record.") << typed;
        EXPECT_EQ(staaten.Tree()->GetSelectedID(), kSchweiz) << typed;
    }

    CTabConfigDlg config(nullptr, &m_db, &m_host);
    config.FillTrees();
    config.Controls().Edit(1028)->setText("Ö");
    EXPECT_EQ(config.CountryTree()->GetSelectedID(), kOesterreich);
    config.Controls().Edit(1028)->setText("Ö'");
    EXPECT_EQ(LastDBError().context, "CTabConfigDlg::OnChangeEditland");
}

TEST_F(SelectionDlg, ConfigurationEndsWithTheViewAndItsLists) {
    const struct {
        int button;  // 0: Escape
        int result;
    } cases[] = {{1004, 1}, {1005, 2}, {1006, -1}, {1003, -1}, {0, -1}};
    for (const auto& c : cases) {
        CTabConfigDlg config(nullptr, &m_db, &m_host);
        config.SetSelection({kOesterreich, kDeutschland}, {kBip});
        WhenOpen(config, [&] {
            EXPECT_GT(config.y(), -1000);
            if (c.button)
                Click(config.Controls().Push(c.button));
            else
                Key(config.CountryTree(), Qt::Key_Escape);
        });
        EXPECT_EQ(config.exec(), c.result) << c.button;
        if (c.result > 0) {
            EXPECT_EQ(config.Countries(), (IdList{kDeutschland, kOesterreich}));
            EXPECT_EQ(config.DataIds(), IdList{kBip});
        }
    }

    // Nothing ticked, then countries only: each view button shows its hint and stays.
    CTabConfigDlg config(nullptr, &m_db, &m_host);
    WhenOpen(config, [&] {
        Click(config.Controls().Push(1004));
        CheckIds(*config.CountryTree(), {kSchweiz});
        Click(config.Controls().Push(1005));
        EXPECT_TRUE(config.isVisible());
        Click(config.Controls().Push(1006));
    });
    EXPECT_EQ(config.exec(), -1);
    EXPECT_EQ(Messages(), (QStringList{kNoCountries, kNoData}));
}

TEST_F(SelectionDlg, ProfilesLoadExactlyTheirItems) {
    m_host.all = true;
    CSelectStaatDlg staaten(nullptr, &m_db, &m_host);
    staaten.SetSelection({kDeutschland, kSchweiz});
    CStaticCtrl* name = staaten.Controls().Static(1030);

    // Nothing chosen, or a file that cannot be read: ticks and name stay.
    Click(staaten.Controls().Push(1029));
    m_host.profileName = "Nordländer";
    m_host.profileReadable = false;
    Click(name);
    EXPECT_EQ(CheckedIds(*staaten.Tree()), (IdList{kDeutschland, kSchweiz}));
    EXPECT_TRUE(name->Text().isEmpty());

    m_host.profileReadable = true;
    m_host.profile = {kFaeroeer, kOesterreich, 999};
    Click(staaten.Controls().Push(1029));
    EXPECT_EQ(CheckedIds(*staaten.Tree()), (IdList{kFaeroeer, kOesterreich}));
    EXPECT_EQ(name->Text(), "Nordländer");
    EXPECT_EQ(m_host.menus, (std::vector<std::string>{"clt", "clt", "clt"}));
    EXPECT_EQ(m_host.menuAt, name->mapToGlobal(QPoint(-2, name->height())));

    Click(staaten.Controls().Push(1031));
    Click(staaten.Controls().Push(1032));
    EXPECT_EQ(m_host.saved.back(),
              (std::pair<std::string, IdList>{"clt", {kFaeroeer, kOesterreich}}));
    EXPECT_EQ(m_host.deleted, std::vector<std::string>{"clt"});

    // The configuration dialog keeps the two kinds apart.
    CTabConfigDlg config(nullptr, &m_db, &m_host);
    config.FillTrees();
    m_host.profile = {kWaehrung, kEinwohner};
    Click(config.Controls().Push(1009));
    EXPECT_EQ(CheckedIds(*config.DataTree()), (IdList{kEinwohner, kWaehrung}));
    EXPECT_TRUE(CheckedIds(*config.CountryTree()).empty());
    EXPECT_EQ(config.Controls().Static(1027)->Text(), "Nordländer");
    Click(config.Controls().Push(1010));
    Click(config.Controls().Push(1011));
    EXPECT_EQ(m_host.menus.back(), "vlt");
    EXPECT_EQ(m_host.saved.back(),
              (std::pair<std::string, IdList>{"vlt", {kEinwohner, kWaehrung}}));
    EXPECT_EQ(m_host.deleted.back(), "clt");
}
