#pragma once
// A skinned window built from a template: frameless, its controls created by the template
// loader, its background image dragging the window when the image's cursor is "Move".
//
// Commands: every click of a button (and of a clickable static text) calls the virtual
// OnCommand(int id) with the control's id. Windows of the program derive and override it;
// the default emits the signal command(int id), for owners that use the window as it is.
//
// A template or bitmap that cannot be read does not stop the window: it is built with what
// could be read (missing bitmaps show a marked stand-in) and TemplateErrors() lists every
// fault with the file or template it concerns, for the program to show.

#include <QDialog>

#include "controls/TemplateLoader.h"

class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    enum class Placement {
        Window,  // a frameless top-level window owned by parent (dialogs, viewers)
        Child,   // a child widget of parent (command bar, table bar, navigation panels)
    };

    // Builds the window from the built-in template with that number. The skin bitmaps are
    // read below uiDirectory, or below UiDirectory() when it is empty.
    explicit CTemplateDialog(int templateId, QWidget* parent = nullptr,
                             Placement placement = Placement::Window,
                             const QString& uiDirectory = QString());
    // Builds the window from a template already read (tests, the template preview).
    CTemplateDialog(const CWindowTemplate& layout, QWidget* parent, Placement placement,
                    const QString& uiDirectory);

    // The UI directory of the installation that windows read their skins from; the
    // program sets it once at start-up.
    static void SetUiDirectory(const QString& directory);
    static QString UiDirectory();

    int TemplateId() const { return m_layout.number; }
    const CWindowTemplate& Layout() const { return m_layout; }

    // Every fault met while building: a template that could not be read, bitmaps that are
    // missing; empty when all went well.
    const QStringList& TemplateErrors() const { return m_errors; }
    // Whether the template itself was read (the controls exist).
    bool HasTemplate() const { return m_hasTemplate; }

    // The controls by id (see CTemplateControls).
    const CTemplateControls& Controls() const { return m_controls; }
    CTemplateControls& Controls() { return m_controls; }
    template <class T>
    T* Control(int id) const {
        return m_controls.Control<T>(id);
    }

    // Sets a push or two-state button enabled or disabled; nothing for an unknown id.
    void EnableControl(int id, bool enable);

signals:
    // Emitted by the default OnCommand.
    void command(int id);

protected:
    // A click on the control with that id.
    virtual void OnCommand(int id);

    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Build(const QString& uiDirectory);

    CWindowTemplate m_layout;
    CTemplateControls m_controls;
    QStringList m_errors;
    bool m_hasTemplate = false;
    Placement m_placement;
};
