// The settings file NOX.INI and the installation layer of the registry.
#include <QDir>

#include "EditionBuild.h"

namespace edition {

namespace {

// The control set's class identifier in the installation's registry layer.
constexpr const char* kControlSetClsid = "{5A3E1C2B-7D4F-4E8A-9B61-2C0F8D7E4A13}";

// NOX.INI; year is the latest year with data (Jahr), left out while it is not known yet.
QString SettingsText(int year) {
    return "[Setup]\r\n"
           "App=Kompendor\r\n"
           + (year > 0 ? QString("Jahr=%1\r\n").arg(year) : QString())
           + "\r\n"
          "[Paths]\r\n"
          "UserData=~/.local/share/Kompendor/\r\n"
          "Presets=Profile/\r\n"
          "UI=UI/\r\n"
          "MDB=Daten/Kompendor.mdb\r\n"
          "IMG=Daten/\r\n"
          "HTML=HTML/\r\n"
          "Map=Daten/Karte/\r\n"
          "Sound=Medien/Sound/\r\n"
          "Audio=Medien/Audio/\r\n"
          "Video=Medien/Video/\r\n"
          "Cursor=\r\n"
          "\r\n"
          "[ToolTip]\r\n"
          "Font=MS Sans Serif\r\n"
          "FontSize=10\r\n"
          "Delay=700\r\n"
          "TextColor=1E1E1E\r\n"
          "BackColor=FFFBD2\r\n";
}

}  // namespace

bool CEditionBuild::WriteSettings() {
    const QString ini = SettingsText(0);
    // The library is named relative to the installation folder (the program resolves such a
    // path against its own folder), so a moved or copied installation still starts.
    const QString reg
        = QString(
              "; Installation layer of the registry: the control set's registration and the\r\n"
              "; engine defaults. Per-user values live in ~/.config/Kompendor/registry.ini.\r\n"
              "[HKEY_CLASSES_ROOT\\NOXCTRLS.ImageCtrl.1\\CLSID]\r\n"
              "@=%1\r\n"
              "\r\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\%1\\InprocServer32]\r\n"
              "@=%2\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\NOX\\Engine]\r\n"
              "enabled=0\r\n")
              .arg(kControlSetClsid, "libnoxctrls.so");
    for (const char* dir : {"HTML", "Daten", "Daten/Karte", "Medien/Sound", "Medien/Audio",
                            "Medien/Video", "UI", "Profile"}) {
        QDir().mkpath(Out(dir));
    }
    return WriteBytes(Out("NOX.INI"), ini.toUtf8(), m_result.error)
           && WriteBytes(Out("NOX.reg"), reg.toUtf8(), m_result.error);
}

bool CEditionBuild::WriteYearSetting() {
    int latest = 0;
    for (const CDataRow& row : m_rows)
        if (row.number && row.year > latest) latest = row.year;
    return WriteBytes(Out("NOX.INI"), SettingsText(latest).toUtf8(), m_result.error);
}

}  // namespace edition
