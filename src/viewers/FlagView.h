#pragma once
// The flag viewer (template 258, skin folder "FlagView/"): a country's flag with its name and
// the description of the flag, painted below the template's 21-pixel caption. The main window
// keeps one and reuses it for every country.

#include <QFont>
#include <QString>
#include <string>

#include "controls/TemplateDialog.h"
#include "viewers/Picture.h"
#include "viewers/ViewerEnv.h"

class CFlagArea;

class CFlagView : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 258;
    // Controls of the template.
    static constexpr int kCloseButton = 1003;
    static constexpr int kMenuButton = 1010;
    // Height of the caption band the flag area starts below.
    static constexpr int kCaptionHeight = 21;

    // A hidden viewer over parent; the flags come from "Flags.nox" in imgDirectory (the data
    // folder, ending in "/"). Closing it destroys it. env is copied.
    CFlagView(QWidget* parent, const CViewerEnv& env, const std::string& imgDirectory);

    // Shows the flag member of "Flags.nox" with the country's name and the flag's description.
    // The window closes when the archive cannot be reached, and after
    // "Datei <member> nicht gefunden!?" when the flag cannot be extracted or decoded (false).
    bool Open(const QString& member, const QString& countryName, const QString& flagText);

    const CPicture& Flag() const { return m_flag; }
    const QString& CountryName() const { return m_countryName; }
    const QString& FlagText() const { return m_flagText; }
    // The name the flag is exported under: "Flagge " and the country's name.
    QString ExportName() const;

    // Paints the area below the caption (width by height) as the viewer shows it.
    void PaintFlagArea(QPainter& painter, const QSize& size) const;

    // Runs the menu command id (print, export, close).
    void OnMenuCommand(int id);
    // Opens the picture menu at pos (screen coordinates).
    void ShowMenu(const QPoint& pos);

protected:
    // Opens the context menu at pos (screen) and returns the chosen item; tests replace it.
    virtual int TrackMenu(const QPoint& pos);

    void OnCommand(int id) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CViewerEnv m_env;
    std::string m_archive;
    CPicture m_flag;
    QString m_countryName;
    QString m_flagText;
    QFont m_nameFont;
    QFont m_textFont;
    CFlagArea* m_area = nullptr;
};
