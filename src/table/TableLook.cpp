#include "table/TableLook.h"

namespace {

// The tooltips of the buttons that show a pictogram only.
constexpr const char* kChooseCountries = "Länder auswählen";
constexpr const char* kChooseFields = "Datenfelder auswählen";
constexpr const char* kMenu = "Menü öffnen";

}  // namespace

const QFont& CCellFont::Font() const {
    if (!m_font) {
        QFont font{QString::fromLatin1(face)};
        font.setPointSizeF(points);
        if (semiBold) font.setWeight(QFont::DemiBold);
        m_font = font;
    }
    return *m_font;
}

const CStaatenLook& StaatenLook() {
    static const CStaatenLook look{
        // Corner
        {240,
         {219, 218, 225, 0, kChooseFields},
         {234, 239, 238, 0, kChooseCountries},
         false,
         {},
         {}},
        // Country head
        {QColor(113, 130, 170),
         QColor(174, 184, 209),
         QColor(139, 154, 185),
         QColor(98, 117, 150),
         QColor(68, 80, 104),
         Qt::white,
         QColor(191, 191, 191),
         QColor(252, 255, 250),
         {"Arial", 10, true},
         {228, 233, 232},
         {231, 230, 229},
         {214, 213, 212, 0, kMenu}},
        // Data-field row head
        {QColor(237, 226, 191),
         QColor(231, 219, 181),
         QColor(244, 233, 211),
         QColor(233, 226, 198),
         QColor(204, 188, 162),
         QColor(187, 187, 187),
         QColor(111, 102, 86),
         {"Small Fonts", 7.4, true},
         0,
         18,
         {217, 216, 215, 0, kMenu}},
        // Value cell
        {QColor(242, 246, 255),
         QColor(232, 239, 254),
         QColor(4, 43, 136),
         {"Arial", 9, true},
         {"Arial", 9},
         {"Small Fonts", 7.4},
         QColor(136, 136, 136)},
    };
    return look;
}

const CDatenLook& DatenLook() {
    static const CDatenLook look{
        // Corner
        {241,
         {237, 236, 235, 0, kChooseCountries},
         {222, 221, 220, 0, kChooseFields},
         true,
         {250, 249, 248, 247, "Länder aufsteigend sortieren"},
         {208, 242, 257, 255, "Länder absteigend sortieren"}},
        // Data-field head
        {QColor(237, 226, 191),
         QColor(146, 136, 117),
         Qt::white,
         QColor(191, 191, 191),
         QColor(0, 45, 137),
         {"Small Fonts", 7.4, true},
         QColor(232, 213, 176),
         QColor(244, 234, 216),
         QColor(177, 163, 135),
         {217, 216, 215, 0, kMenu},
         {246, 245, 244, 243, "Aufsteigend sortieren"},
         {254, 253, 252, 251, "Absteigend sortieren"},
         {{QColor(219, 236, 214), QColor(139, 166, 132), QColor(182, 217, 172),
           QColor(113, 145, 113)},
          {QColor(219, 236, 214), QColor(139, 166, 132), QColor(162, 202, 151),
           QColor(71, 102, 75)},
          {QColor(83, 111, 75), QColor(185, 210, 178), QColor(138, 181, 126), QColor(71, 102, 75)}},
         {"Small Fonts", 7.2, true}},
        // Country row head
        {QColor(131, 145, 180),
         QColor(137, 152, 189),
         QColor(183, 191, 211),
         QColor(152, 163, 192),
         QColor(79, 88, 110),
         QColor(104, 104, 104),
         Qt::white,
         {"Arial", 8.9, true},
         140,
         0,
         {211, 210, 209, 0, kMenu}},
        // Value cell
        {QColor(249, 247, 239),
         QColor(254, 252, 243),
         QColor(0, 46, 139),
         QColor(139, 46, 0),
         QColor(226, 233, 246),
         QColor(167, 197, 255),
         QColor(243, 224, 221),
         QColor(245, 168, 162),
         {"Arial", 9},
         {"Arial", 9, true},
         {"Arial", 8},
         QColor(113, 113, 113),
         QColor(156, 25, 25)},
    };
    return look;
}
