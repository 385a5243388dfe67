#pragma once
// The six navigation panels (see TBPanel.h): trees CTBPanel1, CTBPanel3, CTBPanel4 and
// CTBPanel6 over Nav1, Nav3, Nav4 and Nav6, lists CTBPanel2 (persons, three filters) and
// CTBPanel5 (glossary).

#include <QPointer>

#include "text/TBPanel.h"

// The panels' font: "MS Sans Serif" at 8 points.
QFont PanelFont();

class CNOXTreeCtrl;
class CListWnd;
class QLineEdit;

// A panel with a tree over a navigation table (ID, PID, Title, HTMLID, Link).
class CTBTreePanel : public CTBPanel {
    Q_OBJECT
public:
    void SelectID(std::int32_t htmlId, const std::string& anchor) override;

    CNOXTreeCtrl* Tree() const { return m_tree; }
    // The type-ahead field; null in panels 4 and 6.
    QLineEdit* SearchField() const { return m_edit; }
    const std::string& Table() const { return m_table; }

protected:
    // className names the panel in its context strings.
    CTBTreePanel(int type, int templateId, const char* table, const char* className,
                 QWidget* parent, CTBPanelHost* host, CDatabase* database);

private:
    void OnSelchangedTree(std::int32_t id);
    void OnChangeEdit(const QString& text);
    std::string Context(const char* operation) const;

    std::string m_table;
    std::string m_className;
    CNOXTreeCtrl* m_tree = nullptr;
    QLineEdit* m_edit = nullptr;
    // Set while the panel selects on the article window's behalf.
    bool m_selecting = false;
};

class CTBPanel1 : public CTBTreePanel {
    Q_OBJECT
public:
    CTBPanel1(QWidget* parent, CTBPanelHost* host, CDatabase* database);
};

class CTBPanel3 : public CTBTreePanel {
    Q_OBJECT
public:
    CTBPanel3(QWidget* parent, CTBPanelHost* host, CDatabase* database);
};

class CTBPanel4 : public CTBTreePanel {
    Q_OBJECT
public:
    CTBPanel4(QWidget* parent, CTBPanelHost* host, CDatabase* database);
};

class CTBPanel6 : public CTBTreePanel {
    Q_OBJECT
public:
    CTBPanel6(QWidget* parent, CTBPanelHost* host, CDatabase* database);
};

// A panel with a list of articles (ID, Title) and a type-ahead field.
class CTBListPanel : public CTBPanel {
    Q_OBJECT
public:
    // Selects the article's entry; the anchor is not used.
    void SelectID(std::int32_t htmlId, const std::string& anchor) override;

    CListWnd* List() const { return m_list; }
    QLineEdit* SearchField() const { return m_edit; }

protected:
    CTBListPanel(int type, int templateId, const std::string& query, const char* itemKind,
                 QWidget* parent, CTBPanelHost* host, CDatabase* database);

    bool event(QEvent* event) override;

private:
    void OnChangeEdit(const QString& text);

    CListWnd* m_list = nullptr;
    QLineEdit* m_edit = nullptr;
};

class CTBPanel2 : public CTBListPanel {
    Q_OBJECT
public:
    // The filter buttons: 1 biographies (SubTyp 2), 2 the deceased (SubTyp 3), 3 all.
    enum FilterButton { kFilter1 = 1046, kFilter2 = 1047, kFilter3 = 1048 };

    CTBPanel2(QWidget* parent, CTBPanelHost* host, CDatabase* database);

    // Shows the persons of filter 1, 2 or 3 (its button disabled, the others enabled),
    // keeping the list's scroll position.
    void ApplyFilter(int filter);
    int Filter() const { return m_filter; }
    static std::string FilterQuery(int filter);

protected:
    void OnCommand(int id) override;

private:
    int m_filter = 0;
};

class CTBPanel5 : public CTBListPanel {
    Q_OBJECT
public:
    CTBPanel5(QWidget* parent, CTBPanelHost* host, CDatabase* database);
};
