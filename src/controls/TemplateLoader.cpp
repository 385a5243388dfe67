#include "controls/TemplateLoader.h"

#include <QAbstractItemView>
#include <QFrame>
#include <QHeaderView>
#include <QJsonArray>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include "noxctrls/CheckCtrl.h"
#include "noxctrls/ImageCtrl.h"
#include "noxctrls/ProgressCtrl.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"

namespace {

const char* const kIdProperty = "controlId";

QColor Color(const QJsonValue& value, const QColor& fallback) {
    QColor color;
    return ParseColorText(value.toString(), color) ? color : fallback;
}

QFont TemplateFont(const CTemplateControl& control, const QFont& base) {
    QFont font = base;
    if (control.properties.contains(QLatin1String("font"))) font.setFamily(control.Text("font"));
    if (control.properties.contains(QLatin1String("fontSize")))
        font.setPointSize(qMax(1, control.properties.value(QLatin1String("fontSize")).toInt()));
    const QString weight = control.Text("weight");
    if (weight == QLatin1String("bold"))
        font.setWeight(QFont::Bold);
    else if (weight == QLatin1String("demibold"))
        font.setWeight(QFont::DemiBold);
    return font;
}

// The four colours of a list or tree: text, background, selected text, selected background.
void ApplyListColors(QWidget* widget, const CTemplateControl& control) {
    const QJsonArray colors = control.properties.value(QLatin1String("colors")).toArray();
    if (colors.size() != 4) return;
    QPalette palette = widget->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, Color(colors[0], Qt::black));
        palette.setColor(group, QPalette::Base, Color(colors[1], Qt::white));
        palette.setColor(group, QPalette::HighlightedText, Color(colors[2], Qt::white));
        palette.setColor(group, QPalette::Highlight, Color(colors[3], Qt::darkBlue));
    }
    widget->setPalette(palette);
}

Qt::Alignment TemplateAlignment(const QString& align) {
    if (align == QLatin1String("center")) return Qt::AlignHCenter | Qt::AlignVCenter;
    if (align == QLatin1String("right")) return Qt::AlignRight | Qt::AlignVCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QWidget* CreateControl(const CTemplateControl& control, QWidget* parent, const QString& ui,
                       QStringList& missing) {
    const QString folder = ui + control.skin;
    const QString kind = control.kind;
    if (kind == QLatin1String("image")) {
        auto* image = new CImageCtrl(parent);
        image->SetSkinFolder(folder);
        image->SetCursorName(control.Text("cursor", QStringLiteral("(default)")));
        missing += image->LoadBitmap(control.Text("bitmap"));
        return image;
    }
    if (kind == QLatin1String("push") || kind == QLatin1String("check")) {
        CPushCtrl* button;
        if (kind == QLatin1String("check")) {
            auto* check = new CCheckCtrl(parent);
            check->SetSkinFolder(folder);
            missing += check->LoadBitmaps(control.Text("bitmap"));
            button = check;
        } else {
            button = new CPushCtrl(parent);
            button->SetSkinFolder(folder);
            missing += button->LoadBitmaps(control.Text("bitmap"),
                                           control.Text("states", QStringLiteral("0nhc")));
        }
        button->SetCursorName(control.Text("cursor", QStringLiteral("Pointer")));
        button->SetToolTipText(control.Text("tooltip"));
        return button;
    }
    if (kind == QLatin1String("static")) {
        auto* text = new CStaticCtrl(parent);
        text->SetSkinFolder(folder);
        text->SetCursorName(control.Text("cursor", QStringLiteral("Arrow")));
        text->setFont(TemplateFont(control, text->font()));
        const QJsonArray colors = control.properties.value(QLatin1String("colors")).toArray();
        if (colors.size() == 3)
            text->SetColors(Color(colors[0], Qt::black), Color(colors[1], Qt::black),
                            Color(colors[2], Qt::gray));
        if (control.properties.contains(QLatin1String("back")))
            text->SetBackColor(control.Text("back"));
        text->SetAlignment(TemplateAlignment(control.Text("align")));
        text->SetText(control.Text("text"));
        return text;
    }
    if (kind == QLatin1String("progress")) {
        auto* bar = new CProgressCtrl(parent);
        bar->SetSkinFolder(folder);
        bar->setFont(TemplateFont(control, bar->font()));
        bar->SetTextColor(Color(control.properties.value(QLatin1String("textColor")), Qt::white));
        missing += bar->LoadBitmaps(control.Text("bitmap", QStringLiteral("bar")));
        return bar;
    }
    if (kind == QLatin1String("edit")) {
        if (control.properties.value(QLatin1String("multiline")).toBool()) {
            auto* edit = new QPlainTextEdit(parent);
            edit->setPlaceholderText(control.Text("placeholder"));
            edit->setFont(TemplateFont(control, edit->font()));
            return edit;
        }
        auto* edit = new QLineEdit(parent);
        edit->setPlaceholderText(control.Text("placeholder"));
        edit->setFont(TemplateFont(control, edit->font()));
        return edit;
    }
    if (kind == QLatin1String("list")) {
        auto* list = new QListWidget(parent);
        list->setFont(TemplateFont(control, list->font()));
        ApplyListColors(list, control);
        return list;
    }
    if (kind == QLatin1String("tree")) {
        auto* tree = new QTreeWidget(parent);
        tree->setHeaderHidden(true);
        tree->setFont(TemplateFont(control, tree->font()));
        ApplyListColors(tree, control);
        return tree;
    }
    // An area is a place the window fills with its own child (browser, list window, map).
    auto* area = new QFrame(parent);
    area->setProperty("areaLabel", control.Text("label"));
    return area;
}

}  // namespace

QStringList CTemplateControls::Build(const CWindowTemplate& layout, QWidget* parent,
                                     const QString& uiDirectory) {
    QString ui = uiDirectory;
    ui.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!ui.isEmpty() && !ui.endsWith(QLatin1Char('/'))) ui += QLatin1Char('/');

    m_templateSize = layout.size;
    QStringList missing;
    // Children created later lie above earlier ones: background images first.
    for (int pass = 0; pass < 2; ++pass) {
        for (const CTemplateControl& control : layout.controls) {
            const bool isImage = control.kind == QLatin1String("image");
            if (isImage != (pass == 0)) continue;
            QWidget* widget = CreateControl(control, parent, ui, missing);
            if (auto* nox = qobject_cast<CNoxCtrl*>(widget)) nox->SetId(control.id);
            widget->setProperty(kIdProperty, control.id);
            widget->setObjectName(QString::number(control.id));
            widget->setGeometry(control.rect);
            widget->setEnabled(control.enabled);
            m_controls.insert(control.id, Placed{widget, control.rect, control.anchor});
        }
    }
    for (const CTemplateControl& control : layout.controls) m_order.append(control.id);
    missing.removeDuplicates();
    QStringList messages;
    for (const QString& path : missing)
        messages.append(
            QStringLiteral("Die Bilddatei \"%1\" fehlt oder ist nicht lesbar.").arg(path));
    return messages;
}

QWidget* CTemplateControls::Control(int id) const {
    auto it = m_controls.constFind(id);
    return it == m_controls.constEnd() ? nullptr : it->widget.data();
}

CImageCtrl* CTemplateControls::Image(int id) const { return Control<CImageCtrl>(id); }
CPushCtrl* CTemplateControls::Push(int id) const { return Control<CPushCtrl>(id); }
CCheckCtrl* CTemplateControls::Check(int id) const { return Control<CCheckCtrl>(id); }
CStaticCtrl* CTemplateControls::Static(int id) const { return Control<CStaticCtrl>(id); }
CProgressCtrl* CTemplateControls::Progress(int id) const { return Control<CProgressCtrl>(id); }
QLineEdit* CTemplateControls::Edit(int id) const { return Control<QLineEdit>(id); }

bool CTemplateControls::Replace(int id, QWidget* widget) {
    auto it = m_controls.find(id);
    if (it == m_controls.end() || !widget) return false;
    QWidget* old = it->widget;
    QWidget* parent = old ? old->parentWidget() : nullptr;
    if (parent && widget->parentWidget() != parent) widget->setParent(parent);
    widget->setProperty(kIdProperty, id);
    widget->setObjectName(QString::number(id));
    widget->setGeometry(old ? old->geometry() : it->rect);
    // Keep the old control's place in the stacking order.
    if (old) widget->stackUnder(old);
    it->widget = widget;
    widget->show();
    delete old;
    return true;
}

void CTemplateControls::Relayout(const QSize& windowSize) {
    const int dx = windowSize.width() - m_templateSize.width();
    for (const Placed& placed : std::as_const(m_controls)) {
        if (!placed.widget) continue;
        QRect rect = placed.rect;
        if (placed.anchor == CTemplateAnchor::Right)
            rect.translate(dx, 0);
        else if (placed.anchor == CTemplateAnchor::Stretch)
            rect.setWidth(qMax(0, rect.width() + dx));
        placed.widget->setGeometry(rect);
    }
}

int CTemplateControls::IdOf(const QWidget* widget) {
    return widget ? widget->property(kIdProperty).toInt() : 0;
}
