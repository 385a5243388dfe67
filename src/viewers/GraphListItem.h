#pragma once
// An entry of the graph gallery: the record's title beside a small preview of its picture.
// The preview comes from the gallery's previews archive, named like the picture itself (the
// record's Abbildung, ".eps" read as ".gif"); an entry whose preview cannot be had shows the
// title alone.

#include <QFont>
#include <string>

#include "viewers/ListWndItem.h"
#include "viewers/Picture.h"

// Where the gallery's entries take their previews from. The list's owner implements it; an
// entry of a list whose owner does not shows no preview.
class CPreviewSource {
public:
    virtual ~CPreviewSource() = default;
    // The preview stored under member, at its screen size; empty when there is none or it
    // cannot be read.
    virtual CPicture Preview(const std::string& member) = 0;
};

class CGraphListItem : public CListWndItem {
    Q_OBJECT
public:
    // The item kind's name in the list windows' registry.
    static constexpr const char* kKind = "CGraphListItem";
    // Width of the preview's column.
    static constexpr int kPreviewColumn = 92;

    explicit CGraphListItem(QWidget* parent = nullptr);

    // Makes the kind known to the list windows; once is enough, more does no harm.
    static void Register();

    // Reads Abbildung and fetches its preview.
    void Load(CRecordset& recordset) override;
    int Draw(QPainter* painter, const QRect& rect, bool measureOnly, int state) override;

    // The preview's member name: Abbildung with ".eps" replaced by ".gif".
    const std::string& Member() const { return m_member; }
    const CPicture& Preview() const { return m_preview; }
    // Sets the preview directly (tests).
    void SetPreview(const CPicture& preview) { m_preview = preview; }

private:
    // The size the preview is drawn at: its own, or smaller to fit the column.
    QSize PreviewSize() const;
    CPreviewSource* Source() const;

    std::string m_member;
    CPicture m_preview;
    QFont m_font;
};
