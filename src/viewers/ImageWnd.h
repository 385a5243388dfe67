#pragma once
// The image window: a skinned frame with a light caption that carries the picture's title and
// a menu button, and below it a scrolling picture area. The main window keeps one for every
// image, graph and map it shows; the world map keeps a second one for its legend. Each owner
// hands in its parent, the caption button pictures and what the viewers need (CViewerEnv).

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <string>

#include "controls/SkinFrame.h"
#include "viewers/Picture.h"
#include "viewers/ViewerEnv.h"

class CNOXButton;

// The scrolling view of one picture: its scroll range is the picture's size, and it paints
// the picture shifted by the scroll position.
class CImageArea : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CImageArea(QWidget* parent);

    // The picture to show (not owned; must live as long as it is shown); null for none.
    void SetPicture(const CPicture* picture);
    QPoint ScrollPosition() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateRange();

    const CPicture* m_picture = nullptr;
};

// The caption button pictures of an image window: close (normal, under the mouse, pressed),
// the menu button's three, and the gap between the buttons.
struct CImageWndFrame {
    QPixmap close[3];
    QPixmap menu[3];
    int gap = 1;

    // The program's own: close 138, 137, 136, menu 262, 263, 264, gap 1.
    static CImageWndFrame Default();
};

class CImageWnd : public CSkinFrame {
    Q_OBJECT
public:
    // The name its placement is saved under.
    static constexpr const char* kPlacementName = "ImageWnd";
    // The control id of the menu button.
    static constexpr int kMenuButton = 1010;

    // A hidden window of 100 by 100 pixels over parent; closing it destroys it. env is copied.
    CImageWnd(QWidget* parent, const CViewerEnv& env,
              const CImageWndFrame& frame = CImageWndFrame::Default());
    ~CImageWnd() override;

    // Shows member of the archive at archivePath under title. Nothing happens when the archive
    // cannot be reached. A member that cannot be extracted or decoded shows
    // "Datei <member> nicht gefunden!?", and the window destroys itself (false).
    bool Open(const QString& archivePath, const QString& member, const QString& title);
    // Shows picture under title: the window takes the picture's size, keeps its top left
    // corner when visible (else the saved one, else centred), stays inside the work area and
    // comes to the top.
    void ShowBitmap(const CPicture& picture, const QString& title);
    // The same for a picture already drawn (the world map's legend).
    void ShowBitmap(const QImage& bitmap, const QString& title) {
        ShowBitmap(CPicture::FromImage(bitmap), title);
    }

    const CPicture& Picture() const { return m_picture; }
    const QString& Title() const { return m_title; }
    CImageArea* PictureArea() const { return m_area; }
    CNOXButton* MenuButton() const { return m_menuButton; }
    // The window size that shows all of a picture of that size.
    QSize WindowSizeFor(const QSize& picture) const;

    // Runs the menu command id (print, export, close).
    void OnMenuCommand(int id);

protected:
    // Opens the context menu at pos (screen) and returns the chosen item; tests replace it.
    virtual int TrackMenu(const QPoint& pos);

    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void LayoutChildren();
    void SavePlacement();
    void ShowMenu();

    CViewerEnv m_env;
    CPicture m_picture;
    QString m_title;
    CImageArea* m_area;
    CNOXButton* m_menuButton;
    int m_buttonGap = 1;
    QPixmap m_closeBitmaps[3];
    QFont m_titleFont;
};
