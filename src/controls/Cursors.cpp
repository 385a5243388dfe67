#include "controls/Cursors.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QWidget>

QCursor ToQCursor(const CCursorImage& image) {
    QImage picture(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        const std::uint32_t* row = image.pixels.data() + static_cast<std::size_t>(y) * image.width;
        std::copy(row, row + image.width, reinterpret_cast<QRgb*>(picture.scanLine(y)));
    }
    return QCursor(QPixmap::fromImage(picture), image.hotX, image.hotY);
}

CFileCursor::CFileCursor(const CCursorFile& file) : m_steps(file.steps) {
    m_frames.reserve(file.images.size());
    for (const CCursorImage& image : file.images) m_frames.push_back(ToQCursor(image));
}

CFileCursor CFileCursor::Load(const QString& folder, const QString& name) {
    const std::optional<CCursorFile> file
        = LoadNamedCursor(folder.toStdString(), name.toStdString());
    return file ? CFileCursor(*file) : CFileCursor();
}

QCursor CFileCursor::First() const { return IsNull() ? QCursor(Qt::ArrowCursor) : StepCursor(0); }

const QCursor& CFileCursor::StepCursor(int step) const {
    return m_frames[static_cast<std::size_t>(m_steps[static_cast<std::size_t>(step)].image)];
}

int CFileCursor::StepDelay(int step) const {
    return static_cast<int>(m_steps[static_cast<std::size_t>(step)].delayMs);
}

CCursorAnimation::CCursorAnimation(CFileCursor cursor, QObject* parent)
    : QObject(parent), m_cursor(std::move(cursor)) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CCursorAnimation::Advance);
}

CCursorAnimation::~CCursorAnimation() { Stop(); }

void CCursorAnimation::ShowOn(QWidget* widget) {
    Stop();
    if (!widget || m_cursor.IsNull()) return;
    m_widget = widget;
    m_step = 0;
    Apply();
}

void CCursorAnimation::ShowAsOverride() {
    Stop();
    if (m_cursor.IsNull()) return;
    m_override = true;
    m_step = 0;
    QGuiApplication::setOverrideCursor(m_cursor.StepCursor(0));
    Apply();
}

void CCursorAnimation::Stop() {
    m_timer.stop();
    if (m_widget) m_widget->unsetCursor();
    m_widget = nullptr;
    if (m_override) QGuiApplication::restoreOverrideCursor();
    m_override = false;
}

void CCursorAnimation::Apply() {
    const QCursor& cursor = m_cursor.StepCursor(m_step);
    if (m_widget)
        m_widget->setCursor(cursor);
    else if (m_override)
        QGuiApplication::changeOverrideCursor(cursor);
    if (m_cursor.IsAnimated()) m_timer.start(std::max(1, m_cursor.StepDelay(m_step)));
}

void CCursorAnimation::Advance() {
    // The widget may have gone away between two frames
    if (!m_widget && !m_override) return;
    m_step = (m_step + 1) % m_cursor.StepCount();
    Apply();
}
