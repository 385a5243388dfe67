// The world map's data: the country outlines and the colour schemes.
#include <QColor>
#include <QDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>

#include "EditionBuild.h"

namespace edition {

namespace {

struct CRamp {
    int scheme;
    std::vector<QColor> stops;
};

QColor Interpolate(const std::vector<QColor>& stops, double t) {
    double pos = t * double(stops.size() - 1);
    int i = std::min(int(pos), int(stops.size()) - 2);
    double f = pos - i;
    const QColor& a = stops[i];
    const QColor& b = stops[i + 1];
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * f)),
                  int(std::lround(a.green() + (b.green() - a.green()) * f)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * f)));
}

QString Hex(const QColor& c) { return c.name(QColor::HexRgb).mid(1).toUpper(); }

}  // namespace

bool CEditionBuild::WriteMapFiles() {
    QDir().mkpath(Out("Daten/Karte"));
    if (!WriteBytes(Out("Daten/Karte/Laender.vmp"), EncodeMapFile(m_shapes), m_result.error)) {
        return false;
    }
    const std::vector<CRamp> ramps = {
        {kSchemePeople, {QColor(0xF7FBFF), QColor(0x9ECAE1), QColor(0x3182BD), QColor(0x08306B)}},
        {kSchemeEconomy, {QColor(0xF7FCF5), QColor(0xA1D99B), QColor(0x31A354), QColor(0x00441B)}},
        {kSchemeRisk, {QColor(0xFFF5EB), QColor(0xFDAE6B), QColor(0xE6550D), QColor(0x7F2704)}},
        {kSchemeGrowth,
         {QColor(0xB2182B), QColor(0xEF8A62), QColor(0xFDDBC7), QColor(0xF7F7F7), QColor(0xD1E5F0),
          QColor(0x67A9CF), QColor(0x2166AC)}},
        {kSchemeWork, {QColor(0xFCFBFD), QColor(0xBCBDDC), QColor(0x756BB1), QColor(0x3F007D)}},
        {kSchemeLand, {QColor(0xFFFFE5), QColor(0xFEC44F), QColor(0xCC4C02), QColor(0x662506)}},
        {kSchemeHealth, {QColor(0xF7FCFD), QColor(0x99D8C9), QColor(0x2CA25F), QColor(0x00441B)}},
    };
    QString ini;
    QTextStream out(&ini);
    out << "; Colour schemes of the world map, one section per MapView number: 25 class\r\n"
           "; colours (countries) and text colours (text), light to dark, as RRGGBB.\r\n";
    for (const CRamp& ramp : ramps) {
        QStringList fill, text;
        for (int i = 0; i < 25; ++i) {
            QColor c = Interpolate(ramp.stops, i / 24.0);
            fill << Hex(c);
            double luminance = 0.2126 * c.redF() + 0.7152 * c.greenF() + 0.0722 * c.blueF();
            text << (luminance > 0.5 ? "000000" : "FFFFFF");
        }
        out << "[" << ramp.scheme << "]\r\n"
            << "backcolor=B4C8DC\r\n"
            << "nodata=D6D2C8\r\n"
            << "border=5A5A5A\r\n"
            << "borderhilite=FFFFFF\r\n"
            << "countries=" << fill.join(',') << "\r\n"
            << "text=" << text.join(',') << "\r\n";
    }
    out.flush();
    return WriteBytes(Out("Daten/Karte/colors.ini"), ini.toUtf8(), m_result.error);
}

}  // namespace edition
