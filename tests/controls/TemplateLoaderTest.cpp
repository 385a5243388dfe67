// Reading window templates: the faults a hand-edited template can have, each reported with
// the template it concerns; and the built-in templates against the ids their windows use.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <map>
#include <set>

#include "controls/Template.h"

namespace {

struct BadTemplate {
    const char* name;
    const char* json;
    const char* expected;  // part of the message besides the template's number
};

const BadTemplate kBadTemplates[] = {
    {"truncated", R"({"template": 500, "size": [10, 10], "controls": [)", "bei Zeichen"},
    {"not_an_object", R"([1, 2])", "kein JSON-Objekt"},
    {"wrong_number", R"({"template": 501, "size": [10, 10], "controls": []})", "Nummer 501"},
    {"no_size", R"({"template": 500, "controls": []})", "Fenstergröße"},
    {"no_controls", R"({"template": 500, "size": [10, 10]})", "controls"},
    {"unknown_kind",
     R"({"size": [10, 10], "controls": [{"id": 1003, "kind": "knob", "rect": [0, 0, 5, 5]}]})",
     "Steuerelement 1003 hat die unbekannte Art \"knob\""},
    {"duplicate_id",
     R"({"size": [10, 10], "controls": [
         {"id": 1003, "kind": "edit", "rect": [0, 0, 5, 5]},
         {"id": 1003, "kind": "tree", "rect": [5, 5, 5, 5]}]})",
     "Kennung 1003 ist doppelt"},
    {"id_not_integer",
     R"({"size": [10, 10], "controls": [{"id": "1003", "kind": "edit", "rect": [0, 0, 5, 5]}]})",
     "keine gültige Kennung"},
    {"short_rect",
     R"({"size": [10, 10], "controls": [{"id": 1003, "kind": "edit", "rect": [0, 0, 5]}]})",
     "Steuerelement 1003 hat kein gültiges Rechteck"},
    {"empty_rect",
     R"({"size": [10, 10], "controls": [{"id": 1003, "kind": "edit", "rect": [0, 0, 0, 5]}]})",
     "leere Größe"},
    {"push_without_bitmap",
     R"({"size": [10, 10], "controls": [{"id": 1004, "kind": "push", "rect": [0, 0, 5, 5]}]})",
     "Steuerelement 1004 nennt keine Bilddatei"},
    {"bad_colour",
     R"({"size": [10, 10], "controls": [{"id": 1074, "kind": "static", "rect": [0, 0, 5, 5],
         "back": "7F85B"}]})",
     "\"back\" ist keine Farbe"},
    {"two_text_colours",
     R"({"size": [10, 10], "controls": [{"id": 1074, "kind": "static", "rect": [0, 0, 5, 5],
         "colors": ["000000", "FFFFFF"]}]})",
     "3 Farben"},
    {"bad_anchor",
     R"({"size": [10, 10], "controls": [{"id": 1003, "kind": "edit", "rect": [0, 0, 5, 5],
         "anchor": "bottom"}]})",
     "Verankerung \"bottom\""},
};

class TemplateFaults : public testing::TestWithParam<BadTemplate> {};

}  // namespace

TEST_P(TemplateFaults, AreReportedWithTheTemplateAndTheFault) {
    CWindowTemplate layout;
    QString error;
    EXPECT_FALSE(ParseWindowTemplate(GetParam().json, 500, "test.json", layout, error));
    EXPECT_TRUE(error.startsWith("Die Fenstervorlage 500 (test.json) ist fehlerhaft: "))
        << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().expected))) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Template, TemplateFaults, testing::ValuesIn(kBadTemplates),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Template, ReadsSkinFoldersAnchorsAndKeepsTheControlsProperties) {
    CWindowTemplate layout;
    QString error;
    ASSERT_TRUE(ParseWindowTemplate(R"({"template": 7, "skin": "Bookmark\\Rename",
        "size": [320, 150], "painterOnly": 1, "controls": [
        {"id": 1003, "kind": "push", "rect": [290, 6, 22, 22], "bitmap": "close", "anchor": "right",
         "label": "Schließen", "enabled": false},
        {"id": 1000, "kind": "image", "rect": [0, 0, 320, 150], "bitmap": "back.bmp",
         "skin": "Shared/"}]})",
                                    7, "x", layout, error))
        << error.toStdString();
    EXPECT_EQ(layout.skin, "Bookmark/Rename/");  // "\" read as "/", one trailing "/"
    EXPECT_EQ(layout.size, QSize(320, 150));
    const CTemplateControl* close = layout.Find(1003);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->skin, "Bookmark/Rename/");
    EXPECT_EQ(close->anchor, CTemplateAnchor::Right);
    EXPECT_FALSE(close->enabled);
    EXPECT_EQ(close->Text("label"), "Schließen");  // painter hints stay readable
    EXPECT_EQ(layout.Find(1000)->skin, "Shared/");
    EXPECT_EQ(layout.Find(1001), nullptr);
}

TEST(Template, MissingBuiltInTemplateIsNamed) {
    CWindowTemplate layout;
    QString error;
    EXPECT_FALSE(LoadWindowTemplate(999, layout, error));
    EXPECT_EQ(error, "Die Fenstervorlage 999 (:/templates/999.json) ist nicht vorhanden.");
}

// The ids and kinds the program's windows look up in their templates.
TEST(Template, BuiltInTemplatesHoldTheControlsTheirWindowsUse) {
    const std::map<int, std::map<int, const char*>> expected = {
        {129,
         {{1010, "push"},
          {1011, "push"},
          {1012, "push"},
          {1013, "push"},
          {1014, "push"},
          {1004, "push"},
          {1005, "push"},
          {1006, "push"},
          {1007, "push"},
          {1008, "push"},
          {1009, "push"}}},
        {131,
         {{1003, "push"},
          {1004, "push"},
          {1005, "push"},
          {1006, "push"},
          {1009, "push"},
          {1029, "push"},
          {1031, "push"},
          {1032, "push"},
          {1030, "static"},
          {1038, "check"},
          {1015, "tree"},
          {1025, "edit"}}},
        {156, {{1036, "static"}, {1012, "push"}, {1013, "push"}, {1003, "push"}}},
        {158,
         {{1003, "push"},
          {1004, "push"},
          {1005, "push"},
          {1006, "push"},
          {1009, "push"},
          {1029, "push"},
          {1031, "push"},
          {1032, "push"},
          {1030, "static"},
          {1015, "tree"}}},
        {167, {{1078, "static"}, {1079, "progress"}}},
        {168,
         {{1003, "push"},
          {1004, "push"},
          {1005, "push"},
          {1006, "push"},
          {1007, "push"},
          {1008, "push"},
          {1009, "push"},
          {1010, "push"},
          {1011, "push"},
          {1012, "push"},
          {1013, "push"},
          {1014, "push"},
          {1026, "static"},
          {1027, "static"},
          {1038, "check"},
          {1020, "tree"},
          {1021, "tree"},
          {1028, "edit"}}},
        {179,
         {{1036, "static"},
          {1037, "area"},
          {1003, "push"},
          {1004, "push"},
          {1005, "push"},
          {1006, "push"},
          {1007, "push"},
          {1029, "push"}}},
        {181,
         {{1042, "push"},
          {1043, "push"},
          {1044, "push"},
          {1045, "push"},
          {1015, "push"},
          {1016, "push"},
          {1004, "push"},
          {1005, "push"},
          {1006, "push"},
          {1013, "push"},
          {1008, "push"},
          {1009, "push"},
          {1003, "push"},
          {1037, "area"}}},
        {184, {{1025, "edit"}}},
        {188,
         {{1003, "push"},
          {1006, "push"},
          {1009, "push"},
          {1028, "push"},
          {1029, "push"},
          {1030, "push"},
          {1031, "push"},
          {1032, "push"},
          {1116, "check"},
          {1025, "edit"},
          {1050, "area"},
          {1058, "static"}}},
        {202,
         {{1003, "push"},
          {1032, "push"},
          {1043, "push"},
          {1044, "push"},
          {1058, "push"},
          {1081, "push"},
          {1112, "check"},
          {1117, "check"},
          {1015, "tree"},
          {1059, "edit"}}},
        {271,
         {{1000, "image"},
          {1003, "push"},
          {1004, "push"},
          {1005, "push"},
          {1006, "push"},
          {1007, "push"},
          {1008, "push"},
          {1009, "push"},
          {1010, "push"},
          {1011, "push"},
          {1012, "push"},
          {1013, "push"},
          {1073, "push"},
          {1020, "static"},
          {1071, "static"},
          {1072, "static"},
          {1074, "static"},
          {1075, "static"},
          {1076, "static"}}},
    };
    const QList<int> numbers = BuiltInTemplates();
    EXPECT_EQ(numbers, (QList<int>{129, 131, 156, 158, 167, 168, 176, 179, 181, 183, 184, 188,
                                   196, 198, 200, 202, 204, 206, 258, 260, 265, 268, 271, 273}));
    for (int number : numbers) {
        CWindowTemplate layout;
        QString error;
        ASSERT_TRUE(LoadWindowTemplate(number, layout, error)) << error.toStdString();
        // Every control lies inside its window; the window's name and skin folder are set.
        for (const CTemplateControl& control : layout.controls)
            EXPECT_TRUE(QRect(QPoint(0, 0), layout.size).contains(control.rect))
                << number << " " << control.id;
        EXPECT_FALSE(layout.name.isEmpty()) << number;
        EXPECT_TRUE(layout.skin.endsWith('/')) << number;
        auto it = expected.find(number);
        if (it == expected.end()) continue;
        for (auto [id, kind] : it->second) {
            const CTemplateControl* control = layout.Find(id);
            ASSERT_NE(control, nullptr) << number << " lacks " << id;
            EXPECT_EQ(control->kind, kind) << number << " " << id;
        }
    }
}

TEST(Template, DraggableWindowsAreExactlyTheOnesWithAMovingBackground) {
    // The command bar, the table bar, the progress window and the panels stay where they are.
    const std::set<int> fixed = {129, 156, 167, 183, 184, 196, 198, 200, 260, 268};
    for (int number : BuiltInTemplates()) {
        CWindowTemplate layout;
        QString error;
        ASSERT_TRUE(LoadWindowTemplate(number, layout, error));
        bool moves = false;
        for (const CTemplateControl& control : layout.controls)
            moves |= control.kind == "image" && control.Text("cursor") == "Move";
        EXPECT_EQ(moves, !fixed.count(number)) << number;
    }
}
