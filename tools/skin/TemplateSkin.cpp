#include "TemplateSkin.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QPainterPath>
#include <map>

#include "IconTheme.h"
#include "SkinPaint.h"
#include "SkinStyle.h"

namespace skin {
namespace {

struct Control {
    int id = 0;
    QString kind, skin, bitmap, label, icon, style, title, states;
    QStringList alternates;
    QRect rect;
    int captionHeight = 0;
    QJsonObject raw;
};

struct Template {
    int number = 0;
    QString skin;
    QSize size;
    std::vector<Control> controls;
};

std::optional<Template> ReadTemplate(const QString& path, QString& problem) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("%1: cannot be read").arg(path);
        return std::nullopt;
    }
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (!doc.isObject()) {
        problem = QStringLiteral("%1: %2").arg(path, error.errorString());
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    Template t;
    t.number = root.value(QLatin1String("template")).toInt();
    t.skin = root.value(QLatin1String("skin")).toString();
    const QJsonArray size = root.value(QLatin1String("size")).toArray();
    t.size = QSize(size.at(0).toInt(), size.at(1).toInt());
    if (t.size.isEmpty()) {
        problem = QStringLiteral("%1: no window size").arg(path);
        return std::nullopt;
    }
    for (const QJsonValue& value : root.value(QLatin1String("controls")).toArray()) {
        const QJsonObject o = value.toObject();
        Control c;
        c.raw = o;
        c.id = o.value(QLatin1String("id")).toInt();
        c.kind = o.value(QLatin1String("kind")).toString();
        c.skin = o.value(QLatin1String("skin")).toString(t.skin);
        c.bitmap = o.value(QLatin1String("bitmap")).toString();
        c.label = o.value(QLatin1String("label")).toString();
        c.icon = o.value(QLatin1String("icon")).toString();
        c.style = o.value(QLatin1String("style")).toString();
        c.title = o.value(QLatin1String("title")).toString();
        c.states = o.value(QLatin1String("states")).toString(QStringLiteral("0nhc"));
        c.captionHeight = o.value(QLatin1String("captionHeight")).toInt();
        for (const QJsonValue& alt : o.value(QLatin1String("alternates")).toArray())
            c.alternates.append(alt.toString());
        const QJsonArray r = o.value(QLatin1String("rect")).toArray();
        c.rect = QRect(r.at(0).toInt(), r.at(1).toInt(), r.at(2).toInt(), r.at(3).toInt());
        t.controls.push_back(std::move(c));
    }
    return t;
}

QColor ParseColor(const QString& text, const QColor& fallback) {
    bool ok = false;
    const uint rgb = text.toUInt(&ok, 16);
    return ok && text.size() == 6 ? QColor::fromRgb(rgb) : fallback;
}

// ---------------------------------------------------------------------------------------
// Backgrounds

// Paints one background image's style onto the window canvas at its rect and notes which
// parts are dark surfaces (buttons there are painted to suit).
void PaintBackground(QPainter& p, const Control& c, const QSize& window, std::vector<QRect>& dark) {
    const QRect r = c.rect;
    const bool isBar = c.style == QLatin1String("bar") || c.style == QLatin1String("logo");
    if (isBar) {
        DarkSurface(p, r, kBarTop, kBarBottom);
        if (r.left() == 0) VLine(p, 0, r.top() + 1, r.bottom() - 1, Mix(kBarTop, kEdgeLight, 0.4));
        if (r.right() == window.width() - 1)
            VLine(p, r.right(), r.top() + 1, r.bottom() - 1, kEdgeDark);
        dark.push_back(r);
        if (c.style == QLatin1String("logo")) {
            const QString text
                = c.label.isEmpty() ? QStringLiteral("Varnholt Kompendor 2004") : c.label;
            const int space = text.indexOf(QLatin1Char(' '));
            const QString upper = space > 0 ? text.left(space).toUpper() : QString();
            const QString lower = space > 0 ? text.mid(space + 1) : text;
            QFont small = UiFont(10, QFont::Bold);
            small.setLetterSpacing(QFont::AbsoluteSpacing, 3);
            const QFont big = TitleFont(17, QFont::Bold);
            const int textWidth = std::max(QFontMetrics(small).horizontalAdvance(upper),
                                           QFontMetrics(big).horizontalAdvance(lower));
            const int right = r.right() - 16;
            const int left = right - textWidth;
            Emblem(p, QRectF(left - 36, r.center().y() - 14, 28, 28), WithAlpha(kOnDark, 200));
            Text(p, QRect(left, r.top() + 13, textWidth + 2, 13), Qt::AlignLeft | Qt::AlignVCenter,
                 upper, small, Mix(kOnDarkMuted, kOnDark, 0.35));
            Text(p, QRect(left, r.top() + 26, textWidth + 2, 24), Qt::AlignLeft | Qt::AlignVCenter,
                 lower, big, kOnDark);
        }
        return;
    }

    // The body: a breath lighter at the top. A navigation panel repeats it over its own
    // height, which matches the article window it sits in to a shade.
    FillGradient(p, r, kBodyTop, kBack);
    const bool framed = c.style == QLatin1String("dialog") || c.style == QLatin1String("caption");
    if (framed && c.captionHeight > 0) {
        const QRect caption(r.left(), r.top(), r.width(), c.captionHeight);
        FillGradient(
            p, QRect(r.left(), caption.bottom() + 1, r.width(), r.height() - caption.height()),
            kBodyTop, kBack);
        DarkSurface(p, caption, kCaptionTop, kCaptionBottom);
        dark.push_back(caption);
        if (!c.title.isEmpty()) {
            const bool small = c.captionHeight < 26;
            const int emblem = small ? 13 : 16;
            const int x = r.left() + 10;
            Emblem(p, QRectF(x, caption.top() + (caption.height() - emblem) / 2, emblem, emblem),
                   WithAlpha(kOnDark, 210));
            Text(p, QRect(x + emblem + 7, caption.top(), r.width() - 80, caption.height() - 1),
                 Qt::AlignLeft | Qt::AlignVCenter, c.title, UiFont(small ? 12 : 13, QFont::Bold),
                 kOnDark);
        }
        // Light along the top of the body, just under the caption
        HLine(p, r.left() + 1, r.right() - 1, caption.bottom() + 1, Mix(kBack, Qt::white, 0.45));
    }
    if (framed) {
        // The window's own edge: it has no frame of the system around it
        Frame(p, r, kEdgeDark);
        VLine(p, r.left() + 1, r.top() + 1 + c.captionHeight, r.bottom() - 1,
              Mix(kBack, Qt::white, 0.3));
    }
}

// Recessed frames around the plain controls and the static texts with a background of their
// own, painted into the background so the controls sit in it.
void PaintWells(QPainter& p, const Template& t) {
    for (const Control& c : t.controls) {
        QColor inside;
        const QJsonArray colors = c.raw.value(QLatin1String("colors")).toArray();
        if (c.kind == QLatin1String("edit")) {
            inside = Qt::white;
        } else if (c.kind == QLatin1String("list") || c.kind == QLatin1String("tree")) {
            inside = ParseColor(colors.at(1).toString(), Mix(kBack, Qt::white, 0.6));
        } else if (c.kind == QLatin1String("area")) {
            inside = Mix(kBack, Qt::white, 0.6);
        } else if (c.kind == QLatin1String("static") && c.raw.contains(QLatin1String("back"))) {
            inside = ParseColor(c.raw.value(QLatin1String("back")).toString(), Qt::white);
        } else {
            continue;
        }
        Well(p, c.rect, inside);
    }
}

// ---------------------------------------------------------------------------------------
// Buttons

// Top-rounded shape of a notebook tab.
QPainterPath TabShape(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r.adjusted(0, 0, 0, radius), radius, radius);
    QPainterPath clip;
    clip.addRect(r);
    return path.intersected(clip);
}

void TabOnDark(QPainter& p, const Control& c, const QRect& r, State state) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF shape(r.left() + 1, r.top(), r.width() - 2, r.height());
    if (state == State::Disabled) {
        // The current tab: the body's own colour, joined to the page below it
        p.setBrush(Mix(kCaptionTop, kEdgeLight, 0.5));
        p.drawPath(TabShape(shape, kRadius));
        p.setBrush(kBodyTop);
        p.drawPath(TabShape(shape.adjusted(1, 1, -1, 0), kRadius - 1));
        p.restore();
        Text(p, r.adjusted(0, 1, 0, 0), Qt::AlignCenter, c.label,
             FitFont(UiFont(12, QFont::Bold), c.label, r.width() - 8), kInk);
        return;
    }
    const QColor edge = WithAlpha(Qt::white, state == State::Hover ? 90 : 44);
    const QColor face = state == State::Pressed
                            ? WithAlpha(kEdgeDark, 90)
                            : WithAlpha(Qt::white, state == State::Hover ? 58 : 26);
    // Edge and face are both translucent: each lies on the surface, neither on the other
    const QPainterPath outer = TabShape(shape, kRadius);
    const QPainterPath inner = TabShape(shape.adjusted(1, 1, -1, 0), kRadius - 1);
    p.setBrush(edge);
    p.drawPath(outer.subtracted(inner));
    p.setBrush(face);
    p.drawPath(inner);
    p.restore();
    HLine(p, r.left(), r.right(), r.bottom(), kEdgeDark);
    Text(p, state == State::Pressed ? r.translated(1, 1) : r, Qt::AlignCenter, c.label,
         FitFont(UiFont(12), c.label, r.width() - 8), state == State::Normal ? kOnDark : Qt::white);
}

// A filter button among its siblings on a light surface: the current one is filled with the
// accent colour.
void TabOnLight(QPainter& p, const Control& c, const QRect& r, State state) {
    if (state == State::Disabled) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Mix(kAccent, kEdgeDark, 0.35));
        p.drawPath(Rounded(r, kRadius));
        QLinearGradient g(0, r.top(), 0, r.bottom());
        g.setColorAt(0, Mix(kAccent, Qt::white, 0.12));
        g.setColorAt(1, kAccent);
        p.setBrush(g);
        p.drawPath(Rounded(QRectF(r).adjusted(1, 1, -1, -1), kRadius - 1));
        p.restore();
        Text(p, r, Qt::AlignCenter, c.label,
             FitFont(UiFont(12, QFont::Bold), c.label, r.width() - 8), Qt::white);
        return;
    }
    ButtonFace(p, r, state);
    Text(p, state == State::Pressed ? r.translated(1, 1) : r, Qt::AlignCenter, c.label,
         FitFont(UiFont(12), c.label, r.width() - 8), LightInk(state));
}

// Workspace button: number i in state s (1 empty, 2 saved, 3 in use).
void WorkspaceButton(QPainter& p, const QString& number, int workspaceState, const QRect& r,
                     State state) {
    const QFont font = UiFont(20, QFont::Bold);
    const QRect content = state == State::Pressed ? r.translated(1, 1) : r;
    if (workspaceState <= 1) {
        GhostFace(p, r, state, kRadius + 1);
        // An empty workspace: only the outline of a number
        Text(p, content, Qt::AlignCenter, number, font,
             state == State::Hover ? Qt::white : kOnDarkMuted);
        return;
    }
    ButtonFace(p, r, state, kRadius + 1);
    if (workspaceState >= 3) {
        // In use: the warm accent under the number
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(kWarm);
        p.drawRoundedRect(QRectF(r.left() + 8, r.bottom() - 6, r.width() - 16, 3), 1.5, 1.5);
        p.restore();
    }
    Text(p, content.adjusted(0, 0, 0, workspaceState >= 3 ? -3 : 0), Qt::AlignCenter, number, font,
         workspaceState >= 3 ? kAccent : LightInk(state));
}

// A two-state button with a box and a label (on a light surface).
void CheckBox(QPainter& p, const Control& c, const QRect& r, bool on, State state) {
    const int box = 14;
    const QRect boxRect(r.left() + 2, r.top() + (r.height() - box) / 2, box, box);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    QColor border = state == State::Hover ? kAccent : kButtonBorder;
    if (state == State::Disabled) border = kButtonDisabledBorder;
    p.setBrush(on && state != State::Disabled ? Mix(kAccent, kEdgeDark, 0.3) : border);
    p.drawPath(Rounded(boxRect, 3));
    QColor fill = Qt::white;
    if (on) fill = state == State::Hover ? Mix(kAccent, Qt::white, 0.15) : kAccent;
    if (state == State::Pressed) fill = on ? Mix(kAccent, kEdgeDark, 0.3) : kButtonPressedTop;
    if (state == State::Disabled) fill = kButtonDisabled;
    p.setBrush(fill);
    p.drawPath(Rounded(QRectF(boxRect).adjusted(1, 1, -1, -1), 2));
    if (on) {
        p.setPen(QPen(state == State::Disabled ? kMuted : Qt::white, 1.8, Qt::SolidLine,
                      Qt::RoundCap, Qt::RoundJoin));
        QPainterPath tick;
        tick.moveTo(boxRect.left() + 3.5, boxRect.top() + 7.5);
        tick.lineTo(boxRect.left() + 6, boxRect.top() + 10);
        tick.lineTo(boxRect.left() + 10.5, boxRect.top() + 4);
        p.drawPath(tick);
    }
    p.restore();
    Text(p, QRect(boxRect.right() + 7, r.top(), r.right() - boxRect.right() - 6, r.height()),
         Qt::AlignLeft | Qt::AlignVCenter, c.label, UiFont(12),
         state == State::Disabled ? kMuted : (state == State::Hover ? kAccent : kInk));
}

// Bookmark picture type: a chip in the kind's colour; the chosen one ringed.
void BookmarkChip(QPainter& p, const Control& c, const QRect& r, bool on, State state) {
    const int kind = std::clamp(c.label.toInt(), 1, 6);
    QColor color = BookmarkColor(kind);
    if (state == State::Disabled) color = Mix(color, kButtonDisabled, 0.7);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF chip = QRectF(r).adjusted(4, 4, -4, -4);
    if (on) {
        p.setBrush(kEdgeDark);
        p.drawPath(Rounded(QRectF(r).adjusted(1, 1, -1, -1), kRadius + 1));
        p.setBrush(Qt::white);
        p.drawPath(Rounded(QRectF(r).adjusted(2, 2, -2, -2), kRadius));
    } else if (state == State::Hover) {
        p.setBrush(WithAlpha(Qt::white, 150));
        p.drawPath(Rounded(QRectF(r).adjusted(1, 1, -1, -1), kRadius + 1));
    }
    const QRectF face = state == State::Pressed ? chip.translated(0.5, 0.5) : chip;
    p.setBrush(color.darker(130));
    p.drawPath(Rounded(face, kSmallRadius));
    p.setBrush(state == State::Hover ? color.lighter(110) : color);
    p.drawPath(Rounded(face.adjusted(1, 1, -1, -1), kSmallRadius - 1));
    // The ribbon of the bookmark pictures
    const QPointF m = face.center();
    QPainterPath ribbon;
    ribbon.moveTo(m + QPointF(-3.5, -5));
    ribbon.lineTo(m + QPointF(3.5, -5));
    ribbon.lineTo(m + QPointF(3.5, 5));
    ribbon.lineTo(m + QPointF(0, 2.5));
    ribbon.lineTo(m + QPointF(-3.5, 5));
    ribbon.closeSubpath();
    p.setBrush(WithAlpha(Qt::white, state == State::Disabled ? 150 : 255));
    p.drawPath(ribbon);
    p.restore();
}

bool OnDark(const QRect& r, const std::vector<QRect>& dark) {
    for (const QRect& d : dark)
        if (d.contains(r.center())) return true;
    return false;
}

State StateOf(QChar ending) {
    switch (ending.toLatin1()) {
        case 'h':
            return State::Hover;
        case 'c':
            return State::Pressed;
        case '0':
            return State::Disabled;
        default:
            return State::Normal;
    }
}

class Painter {
public:
    Painter(const CIconTheme& icons, SkinPaintResult& result) : m_icons(icons), m_result(result) {}

    void PaintTemplate(const Template& t) {
        QImage canvas = Canvas(t.size, kBack);
        std::vector<QRect> dark;
        std::vector<std::pair<const Control*, QImage>> backgrounds;
        {
            QPainter p(&canvas);
            for (const Control& c : t.controls) {
                if (c.kind != QLatin1String("image")) continue;
                PaintBackground(p, c, t.size, dark);
                backgrounds.emplace_back(&c, QImage());
            }
            PaintWells(p, t);
        }
        // A later background drawn over an earlier one (the logo over the command bar) must
        // not show in the earlier one's file: repaint each without those after it.
        for (std::size_t i = 0; i < backgrounds.size(); ++i) {
            QImage own = Canvas(t.size, kBack);
            std::vector<QRect> ignored;
            QPainter p(&own);
            for (std::size_t j = 0; j <= i; ++j)
                PaintBackground(p, *backgrounds[j].first, t.size, ignored);
            PaintWells(p, t);
            p.end();
            const Control& c = *backgrounds[i].first;
            Save(t, c.skin + c.bitmap, own.copy(c.rect));
        }

        QImage preview = canvas;
        QPainter previewPainter(&preview);
        bool firstTab = true;
        for (const Control& c : t.controls) {
            if (c.bitmap.isEmpty() || c.kind == QLatin1String("image")) continue;
            const QImage under = canvas.copy(c.rect);
            const bool dark_ = OnDark(c.rect, dark);
            if (c.kind == QLatin1String("push")) {
                QStringList bases{c.bitmap};
                bases += c.alternates;
                for (const QString& base : bases)
                    for (const QChar ending : c.states)
                        Save(t, QStringLiteral("%1%2_%3.bmp").arg(c.skin, base, ending),
                             Push(c, base, under, StateOf(ending), dark_));
                // The icon-only square a narrow window shows instead of the button.
                const QString compact = c.raw.value(QLatin1String("compact")).toString();
                if (!compact.isEmpty()) {
                    const QImage square = canvas.copy(
                        QRect(c.rect.topLeft(), QSize(c.rect.height(), c.rect.height())));
                    for (const QChar ending : c.states)
                        Save(t, QStringLiteral("%1%2_%3.bmp").arg(c.skin, compact, ending),
                             Compact(c, square, StateOf(ending), dark_));
                }
                const bool enabled = c.raw.value(QLatin1String("enabled")).toBool(true);
                State shown = enabled ? State::Normal : State::Disabled;
                if (c.style == QLatin1String("tab") && firstTab) {
                    shown = State::Disabled;
                    firstTab = false;
                }
                previewPainter.drawImage(
                    c.rect.topLeft(), Push(c, bases.at(c.id % bases.size()), under, shown, dark_));
            } else if (c.kind == QLatin1String("check")) {
                const struct {
                    const char* ending;
                    bool on;
                    State state;
                } pictures[] = {{"n", false, State::Normal},  {"h", false, State::Hover},
                                {"c", false, State::Pressed}, {"n1", true, State::Normal},
                                {"h1", true, State::Hover},   {"c1", true, State::Pressed},
                                {"0", false, State::Disabled}};
                for (const auto& pic : pictures)
                    Save(t,
                         QStringLiteral("%1%2_%3.bmp")
                             .arg(c.skin, c.bitmap, QLatin1String(pic.ending)),
                         Check(c, under, pic.on, pic.state));
                previewPainter.drawImage(c.rect.topLeft(),
                                         Check(c, under, c.id % 2 == 0, State::Normal));
            } else if (c.kind == QLatin1String("progress")) {
                for (const char* ending : {"n", "a", "0"})
                    Save(t,
                         QStringLiteral("%1%2_%3.bmp").arg(c.skin, c.bitmap, QLatin1String(ending)),
                         Progress(under, *ending));
                // Shown at 60 percent
                previewPainter.drawImage(c.rect.topLeft(), Progress(under, 'n'));
                const QImage filled = Progress(under, 'a');
                previewPainter.drawImage(
                    c.rect.topLeft(), filled.copy(0, 0, filled.width() * 6 / 10, filled.height()));
            }
        }
        previewPainter.end();
        m_result.previews.emplace_back(t.number, preview);
    }

private:
    QImage Push(const Control& c, const QString& base, const QImage& under, State state,
                bool dark) {
        QImage image = under;
        QPainter p(&image);
        const QRect r = image.rect();
        if (c.style == QLatin1String("workspace")) {
            const int workspaceState = base.size() >= 2 ? base.at(1).digitValue() : 1;
            WorkspaceButton(p, c.label.isEmpty() ? base.left(1) : c.label, workspaceState, r,
                            state);
        } else if (c.style == QLatin1String("tab")) {
            dark ? TabOnDark(p, c, r, state) : TabOnLight(p, c, r, state);
        } else if (c.style == QLatin1String("bar")) {
            GhostFace(p, r.adjusted(0, 0, 0, 0), state, kRadius + 1);
            Note(c, StackedContent(p, m_icons, r, c.icon, c.label,
                                   FitFont(UiFont(12, QFont::Bold), c.label, r.width() - 8),
                                   DarkInk(state), state, 16));
        } else if (dark) {
            GhostFace(p, r, state, kSmallRadius);
            Note(c, Content(p, m_icons, r, c.icon, c.label, UiFont(12), DarkInk(state), state, 16));
        } else {
            ButtonFace(p, r, state, r.height() <= 20 ? kSmallRadius : kRadius);
            const QFont font
                = c.style == QLatin1String("operator") ? SmallFont(11, QFont::Bold) : UiFont(12);
            Note(c, Content(p, m_icons, r, c.icon, c.label, font, LightInk(state), state,
                            std::min(16, r.height() - 4)));
        }
        return image;
    }

    QImage Compact(const Control& c, const QImage& under, State state, bool dark) {
        QImage image = under;
        QPainter p(&image);
        const QRect r = image.rect();
        if (dark)
            GhostFace(p, r, state, kRadius + 1);
        else
            ButtonFace(p, r, state, kRadius);
        Note(c, Content(p, m_icons, r, c.icon, QString(), UiFont(12),
                        dark ? DarkInk(state) : LightInk(state), state, 22));
        return image;
    }

    QImage Check(const Control& c, const QImage& under, bool on, State state) {
        QImage image = under;
        QPainter p(&image);
        if (c.style == QLatin1String("bookmark"))
            BookmarkChip(p, c, image.rect(), on, state);
        else
            CheckBox(p, c, image.rect(), on, state);
        return image;
    }

    QImage Progress(const QImage& under, char ending) {
        QImage image = under;
        QPainter p(&image);
        const QRect r = image.rect();
        if (ending == 'a') {
            // The filled part: the accent blue with a light top edge
            p.fillRect(r, Mix(kAccent, kEdgeDark, 0.45));
            FillGradient(p, r.adjusted(1, 1, -1, -1), Mix(kAccent, Qt::white, 0.25),
                         Mix(kAccent, kEdgeDark, 0.1));
            HLine(p, 1, r.right() - 1, 1, Mix(kAccent, Qt::white, 0.5));
        } else {
            const QColor track
                = ending == '0' ? Mix(kButtonDisabled, kMuted, 0.4) : Mix(kBack, kEdgeDark, 0.45);
            p.fillRect(r, track);
            Frame(p, r, Mix(kEdgeDark, kBack, 0.2));
            HLine(p, 1, r.right() - 1, 1, Mix(track, kEdgeDark, 0.25));
        }
        return image;
    }

    void Note(const Control& c, bool iconFound) {
        if (!iconFound)
            m_result.problems.append(
                QStringLiteral("icon \"%1\" of control %2 not in the icon theme")
                    .arg(c.icon)
                    .arg(c.id));
    }

    void Save(const Template& t, const QString& path, const QImage& image) {
        const auto it = m_sizes.find(path);
        if (it != m_sizes.end()) {
            if (it->second != image.size())
                m_result.problems.append(
                    QStringLiteral("%1 wanted at %2x%3 by template %4, already painted at %5x%6")
                        .arg(path)
                        .arg(image.width())
                        .arg(image.height())
                        .arg(t.number)
                        .arg(it->second.width())
                        .arg(it->second.height()));
            return;
        }
        m_sizes.emplace(path, image.size());
        m_result.files.push_back({path, image});
    }

    const CIconTheme& m_icons;
    SkinPaintResult& m_result;
    std::map<QString, QSize> m_sizes;
};

}  // namespace

SkinPaintResult PaintTemplateSkins(const QString& templatesDir, const CIconTheme& icons) {
    SkinPaintResult result;
    Painter painter(icons, result);
    const QDir dir(templatesDir);
    QStringList names = dir.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        QString problem;
        const std::optional<Template> t = ReadTemplate(dir.filePath(name), problem);
        if (!t) {
            result.problems.append(problem);
            continue;
        }
        painter.PaintTemplate(*t);
    }
    return result;
}

}  // namespace skin
