#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace {

// The colours of the skin the window templates are painted in, for the boxes and dialogs the
// program does not build from templates.
const QColor kEdge(22, 37, 65);
const QColor kCaptionTop(60, 98, 170);
const QColor kCaptionBottom(43, 74, 135);
const QColor kBodyTop(186, 198, 216);
const QColor kBack(173, 186, 206);
const QColor kInk(30, 42, 68);
const QColor kOnDark(238, 242, 249);
const QColor kAccent(51, 86, 153);
const QColor kButtonFace(219, 226, 238);

constexpr int kCaptionHeight = 26;

QFont SkinFont(int points = 9, QFont::Weight weight = QFont::Normal) {
    // "MS Sans Serif" is the skins' dialog font; the program maps it to one this system has.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(points);
    font.setWeight(weight);
    return font;
}

QPalette SkinPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, kBack);
    palette.setColor(QPalette::WindowText, kInk);
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(238, 242, 249));
    palette.setColor(QPalette::Text, kInk);
    palette.setColor(QPalette::Button, kButtonFace);
    palette.setColor(QPalette::ButtonText, kInk);
    palette.setColor(QPalette::Highlight, kAccent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, QColor(246, 248, 252));
    palette.setColor(QPalette::Mid, QColor(135, 144, 163));
    palette.setColor(QPalette::Dark, QColor(108, 126, 162));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(135, 144, 163));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(135, 144, 163));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(135, 144, 163));
    return palette;
}

// The push buttons as the skin paints them: a light face fading downwards, a blue-grey edge,
// rounded corners; lighter under the mouse, darker when pressed, the default one ringed.
const char* const kButtonStyle = R"(
QPushButton {
    color: #1E2A44;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #F6F8FC, stop:1 #DBE2EE);
    border: 1px solid #6C7EA2;
    border-radius: 4px;
    padding: 4px 14px;
    min-width: 64px;
}
QPushButton:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFFFFF, stop:1 #E5ECF8);
    border-color: #335699;
}
QPushButton:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #BBC8DE, stop:1 #CDD7E8);
}
QPushButton:default, QPushButton:focus {
    border: 2px solid #335699;
    padding: 3px 13px;
}
QPushButton:disabled {
    color: #8790A3;
    background: #C4CDDC;
    border-color: #98A4BB;
}
)";

// The skin for the toolkit's file dialog: its palette, its font and the buttons above.
void Skin(QWidget& widget) {
    widget.setPalette(SkinPalette());
    widget.setFont(SkinFont());
    widget.setStyleSheet(QString::fromLatin1(kButtonStyle));
}

QStyle::StandardPixmap PixmapOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QStyle::SP_MessageBoxInformation;
        case MsgIcon::Question:
            return QStyle::SP_MessageBoxQuestion;
        case MsgIcon::Warning:
            return QStyle::SP_MessageBoxWarning;
        case MsgIcon::Stop:
            return QStyle::SP_MessageBoxCritical;
        case MsgIcon::None:
            break;
    }
    return QStyle::SP_CustomBase;
}

const char* TextOf(MsgAnswer answer) {
    switch (answer) {
        case IDOK:
            return "OK";
        case IDCANCEL:
            return "Abbrechen";
        case IDYES:
            return "Ja";
        case IDNO:
            return "Nein";
    }
    return "OK";
}

// The caption of a box: the dark blue bar of the skinned windows with the box's caption text;
// dragging it moves the box.
class CBoxCaption : public QWidget {
public:
    CBoxCaption(const QString& text, QWidget* parent) : QWidget(parent), m_text(text) {
        setFixedHeight(kCaptionHeight);
        setObjectName(QStringLiteral("caption"));
    }

    QString Text() const { return m_text; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, kCaptionTop);
        gradient.setColorAt(1, kCaptionBottom);
        p.fillRect(rect(), gradient);
        p.fillRect(0, 0, width(), 1, kCaptionTop.lighter(125));
        p.fillRect(0, height() - 1, width(), 1, kEdge);
        p.setPen(kOnDark);
        p.setFont(SkinFont(9, QFont::Bold));
        p.drawText(rect().adjusted(12, 0, -12, -1), Qt::AlignLeft | Qt::AlignVCenter, m_text);
    }

    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton) return;
        QWidget* box = window();
        // The window manager moves the box itself where it can; elsewhere it follows the
        // pointer.
        if (QWindow* handle = box->windowHandle(); handle && handle->startSystemMove()) return;
        m_dragging = true;
        m_offset = event->globalPosition().toPoint() - box->pos();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (m_dragging) window()->move(event->globalPosition().toPoint() - m_offset);
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }

private:
    QString m_text;
    bool m_dragging = false;
    QPoint m_offset;
};

// A message box in the skin: caption bar, icon and text on the body, the buttons below.
class CSkinMessageBox : public QDialog {
public:
    CSkinMessageBox(const MessageBoxRequest& request, QWidget* owner)
        : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
        setObjectName(QStringLiteral("MessageBox"));
        setModal(true);
        Skin(*this);
        const QString caption = QString::fromStdString(request.caption);
        // A box without caption still needs a title for the task list; a blank keeps the
        // window manager from putting the program's name there.
        setWindowTitle(caption.isEmpty() ? QStringLiteral(" ") : caption);

        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins(1, 1, 1, 1);
        outer->setSpacing(0);
        outer->addWidget(new CBoxCaption(caption, this));

        auto* body = new QHBoxLayout;
        body->setContentsMargins(18, 16, 18, 8);
        body->setSpacing(14);
        const QStyle::StandardPixmap pixmap = PixmapOf(request.icon);
        if (pixmap != QStyle::SP_CustomBase) {
            auto* icon = new QLabel(this);
            icon->setPixmap(style()->standardIcon(pixmap, nullptr, this).pixmap(32, 32));
            icon->setAlignment(Qt::AlignTop);
            body->addWidget(icon);
        }
        auto* text = new QLabel(QString::fromStdString(request.text), this);
        text->setObjectName(QStringLiteral("text"));
        text->setTextFormat(Qt::PlainText);
        text->setWordWrap(true);
        // As wide as its longest line, within bounds: a wrapping label left to itself takes
        // the narrowest width its words allow.
        int longest = 0;
        for (const QString& line : text->text().split(QLatin1Char('\n')))
            longest = std::max(longest, text->fontMetrics().horizontalAdvance(line));
        text->setMinimumWidth(std::clamp(longest + 2, 260, 440));
        text->setMaximumWidth(440);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        body->addWidget(text, 1);
        outer->addLayout(body);

        auto* row = new QHBoxLayout;
        row->setContentsMargins(18, 8, 18, 14);
        row->setSpacing(8);
        row->addStretch(1);
        const std::vector<MsgAnswer> answers = ButtonsOf(request.buttons);
        std::size_t def = request.defaultButton >= 0 ? std::size_t(request.defaultButton) : 0;
        if (def >= answers.size()) def = 0;
        // Escape answers as Cancel or No would; a box with OK alone closes with OK.
        m_escape = answers.back();
        for (MsgAnswer a : answers) {
            if (a == IDCANCEL) m_escape = a;
        }
        m_answer = m_escape;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            const MsgAnswer answer = answers[i];
            auto* button = new QPushButton(QString::fromUtf8(TextOf(answer)), this);
            button->setAutoDefault(false);
            button->setDefault(i == def);
            connect(button, &QPushButton::clicked, this, [this, answer] {
                m_answer = answer;
                done(answer);
            });
            row->addWidget(button);
            if (i == def) m_default = button;
        }
        outer->addLayout(row);
        layout()->setSizeConstraint(QLayout::SetFixedSize);
    }

    MsgAnswer Answer() const { return m_answer; }

    void reject() override {
        m_answer = m_escape;
        done(m_escape);
    }

protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        if (m_default) m_default->setFocus();
        // Centred over the window it belongs to, or on its screen.
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        const QRect area
            = owner ? owner->frameGeometry() : (screen() ? screen()->availableGeometry() : QRect());
        if (!area.isValid()) return;
        QPoint at = area.center() - rect().center();
        // Never past the edges of the screen it opens on, whatever the owner's position.
        const QScreen* on = QGuiApplication::screenAt(area.center());
        if (!on) on = screen();
        if (on) {
            const QRect screenArea = on->availableGeometry();
            at.setX(std::clamp(at.x(), screenArea.left(),
                               std::max(screenArea.left(), screenArea.right() + 1 - width())));
            at.setY(std::clamp(at.y(), screenArea.top(),
                               std::max(screenArea.top(), screenArea.bottom() + 1 - height())));
        }
        move(at);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient gradient(0, kCaptionHeight, 0, height());
        gradient.setColorAt(0, kBodyTop);
        gradient.setColorAt(1, kBack);
        p.fillRect(rect(), gradient);
        p.setPen(kEdge);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    MsgAnswer m_answer = IDOK;
    MsgAnswer m_escape = IDOK;
    QPushButton* m_default = nullptr;
};

}  // namespace

MsgAnswer CQtMessagePresenter::ShowMessage(const MessageBoxRequest& request) {
    CSkinMessageBox box(request, QApplication::activeWindow());
    box.exec();
    return box.Answer();
}

std::optional<std::string> CQtMessagePresenter::RunSaveDialog(const SaveDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title.empty()
                                                         ? QStringLiteral("Speichern unter")
                                                         : QString::fromStdString(request.title));
    // The toolkit's own dialog, which takes the skin; the desktop's would not.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    Skin(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const QString filter = QString::fromStdString(FilterForToolkit(request.filter));
    if (!filter.isEmpty()) dialog.setNameFilters(filter.split(QStringLiteral(";;")));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    // The documents folder at first, then where the user saved last.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    dialog.setDirectory(QString::fromStdString(SaveDialogStartFolder(
        request.fileName, documents.toStdString(), QDir::homePath().toStdString())));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void InstallQtMessagePresenter() {
    static CQtMessagePresenter presenter;
    SetMessagePresenter(&presenter);
}
