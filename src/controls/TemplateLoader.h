#pragma once
// Builds a window's controls from its template and finds them again by id. The control set's
// controls read their bitmaps from the skin folder below the UI directory; every bitmap that
// cannot be read is reported with its path (the control shows a marked stand-in), so the
// program can say which file of the installation is missing.

#include <QHash>
#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "controls/Template.h"

class CImageCtrl;
class CPushCtrl;
class CCheckCtrl;
class CStaticCtrl;
class CProgressCtrl;
class QLineEdit;

class CTemplateControls {
public:
    // Creates the controls of the template as children of parent, background images lowest,
    // the others in template order, each at its rectangle with its id; the skin folders are
    // taken below uiDirectory. Returns one message per bitmap that could not be read, naming
    // the file. Connect the commands afterwards (ForEachCommand).
    QStringList Build(const CWindowTemplate& layout, QWidget* parent, const QString& uiDirectory);

    // The control with that id, or null. The typed form gives null when the control is of
    // another class.
    QWidget* Control(int id) const;
    template <class T>
    T* Control(int id) const {
        return qobject_cast<T*>(Control(id));
    }
    CImageCtrl* Image(int id) const;
    CPushCtrl* Push(int id) const;  // also finds two-state buttons
    CCheckCtrl* Check(int id) const;
    CStaticCtrl* Static(int id) const;
    CProgressCtrl* Progress(int id) const;
    QLineEdit* Edit(int id) const;

    // Puts widget (made a child of the control's parent) in the place of control id, with the
    // control's rectangle, anchor and id; deletes the old control. Returns false, and takes no
    // ownership, when there is no such control.
    bool Replace(int id, QWidget* widget);

    // Places every control for a window of that size: the template's rectangles, moved or
    // widened for right and stretch anchors.
    void Relayout(const QSize& windowSize);

    // The ids of the controls, in template order.
    QList<int> Ids() const { return m_order; }

    // The id of a control built here (or put in with Replace), 0 for another widget.
    static int IdOf(const QWidget* widget);

private:
    struct Placed {
        QPointer<QWidget> widget;
        QRect rect;
        CTemplateAnchor anchor = CTemplateAnchor::Left;
    };
    QHash<int, Placed> m_controls;
    QList<int> m_order;
    QSize m_templateSize;
};
