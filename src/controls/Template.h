#pragma once
// Window templates: the layout of a skinned window (its size, skin folder and controls with
// ids, kinds, rectangles and properties), read from JSON. The program's templates are built
// in as ":/templates/<number>.json"; resources/templates/README.md describes the format.

#include <QJsonObject>
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

// How a control follows a window that is wider or narrower than its template.
enum class CTemplateAnchor {
    Left,     // keeps its position and width
    Right,    // keeps its distance to the right edge
    Stretch,  // keeps both distances; grows with the window
};

struct CTemplateControl {
    int id = 0;
    QString kind;  // image, push, check, static, progress, edit, list, tree, area
    QRect rect;
    QString skin;  // the control's skin folder: its own or the window's, ending with "/"
    CTemplateAnchor anchor = CTemplateAnchor::Left;
    bool enabled = true;
    QJsonObject properties;  // the control's object as written (bitmap, cursor, font, ...)

    // A text property; fallback when it is missing.
    QString Text(const char* key, const QString& fallback = QString()) const;
    // Whether the kind is one of the control set's five.
    bool IsSkinned() const;
};

struct CWindowTemplate {
    int number = 0;
    QString name;   // the window's resource name
    QString title;  // the window title
    QString skin;   // skin folder below the UI directory, ending with "/"
    QSize size;
    std::vector<CTemplateControl> controls;

    // The control with that id, or null.
    const CTemplateControl* Find(int id) const;
};

// Reads a template's JSON text. On failure returns false and sets error to a message that
// names the template (number and source) and the fault; out is then unspecified.
bool ParseWindowTemplate(const QByteArray& json, int number, const QString& source,
                         CWindowTemplate& out, QString& error);

// Reads the built-in template ":/templates/<number>.json"; false with a message as above.
bool LoadWindowTemplate(int number, CWindowTemplate& out, QString& error);

// The numbers of all built-in templates, ascending.
QList<int> BuiltInTemplates();

// The resource path of a built-in template.
QString TemplateResourcePath(int number);
