#pragma once
// Common ground of the five controls of the control set: the control id, the cursor name,
// the command a click sends, loading a skin bitmap and the picture shown in place of one
// that is missing.
//
// A click reaches the window through the signal command(int id). The skinned windows of
// the program (CSkinDialog) connect it to their virtual OnCommand(int id); a window built
// otherwise connects to the signal directly.

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

#if defined(NOXCTRLS_LIBRARY)
#define NOXCTRLS_EXPORT Q_DECL_EXPORT
#else
#define NOXCTRLS_EXPORT Q_DECL_IMPORT
#endif

// Reads a colour text of exactly six hexadecimal digits, red, green, blue ("7F85B4");
// false (and color unchanged) for anything else.
NOXCTRLS_EXPORT bool ParseColorText(const QString& text, QColor& color);

// The six-digit RRGGBB text of a colour, upper case.
NOXCTRLS_EXPORT QString ColorText(const QColor& color);

// Reads a skin bitmap file; a null pixmap when the file is missing or unreadable. Always
// reads the file itself (no pixmap cache), so a replaced file shows its new picture.
NOXCTRLS_EXPORT QPixmap LoadSkinBitmap(const QString& path);

// Paints the stand-in for a bitmap that could not be loaded: a hatched, red-framed box
// naming the file, so a missing picture is obvious in every window.
NOXCTRLS_EXPORT void DrawMissingBitmap(QPainter& painter, const QRect& rect, const QString& name);

class NOXCTRLS_EXPORT CNoxCtrl : public QWidget {
    Q_OBJECT
public:
    explicit CNoxCtrl(QWidget* parent = nullptr);

    // The control id that the command carries; 0 until set.
    int Id() const { return m_id; }
    void SetId(int id) { m_id = id; }

    // Named cursor of the control ("Pointer", "Move", "Arrow", "(default)"), looked up in
    // the cursor registry (NoxCursors.h) when set.
    QString CursorName() const { return m_cursorName; }
    void SetCursorName(const QString& name);

    // The skin folder the control's bitmaps are read from (absolute, ending with "/").
    QString SkinFolder() const { return m_skinFolder; }
    void SetSkinFolder(const QString& folder) { m_skinFolder = folder; }

signals:
    // A click on the control, with its id.
    void command(int id);

protected:
    // Loads <skin folder><file> into pixmap; appends the path to missing when it fails.
    void LoadInto(const QString& file, QPixmap& pixmap, QStringList& missing) const;

private:
    int m_id = 0;
    QString m_cursorName = QStringLiteral("(default)");
    QString m_skinFolder;
};
