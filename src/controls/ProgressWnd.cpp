#include "controls/ProgressWnd.h"

#include <QCloseEvent>
#include <QCoreApplication>

#include "controls/TemplateDialog.h"
#include "noxctrls/ProgressCtrl.h"
#include "noxctrls/StaticCtrl.h"
#include "platform/Tick.h"

namespace {

constexpr int kTemplate = 167;

}  // namespace

// Template 167 with the cancel key wired to the run instead of closing the window.
class CProgressDialog : public CTemplateDialog {
public:
    CProgressDialog(CProgressWnd* progress, QWidget* parent)
        : CTemplateDialog(kTemplate, parent, Placement::Window), m_progress(progress) {
        setModal(false);
    }

    void reject() override { m_progress->Cancel(); }

protected:
    void OnCommand(int id) override {
        if (id == CProgressWnd::kCancelId) m_progress->Cancel();
    }

    void closeEvent(QCloseEvent* e) override {
        m_progress->Cancel();
        e->ignore();
    }

private:
    CProgressWnd* m_progress;
};

CProgressWnd::CProgressWnd(CProgressEstimate::TickSource tick)
    : m_estimate(tick ? std::move(tick) : CProgressEstimate::TickSource(TimeGetTime)) {}

CProgressWnd::~CProgressWnd() { delete m_window.data(); }

QWidget* CProgressWnd::Window() const { return m_window.data(); }

void CProgressWnd::Cancel() {
    m_estimate.Cancel();
    if (auto* window = static_cast<CProgressDialog*>(m_window.data()))
        window->EnableControl(kCancelId, false);
}

bool CProgressWnd::Start(QWidget* parent, int total) {
    m_estimate.Start(total);
    delete m_window.data();
    auto* window = new CProgressDialog(this, parent);
    m_window = window;
    if (!window->HasTemplate()) return false;

    if (auto* text = window->Controls().Static(kTimeTextId)) text->SetText(QString());
    if (parent) {
        const QRect owner = parent->window()->geometry();
        window->move(owner.center() - window->rect().center());
    }
    window->show();
    window->activateWindow();
    window->setFocus();
    return true;
}

bool CProgressWnd::Step() {
    // The run blocks the event loop: let the window repaint and see the cancel key.
    QCoreApplication::processEvents();

    const CProgressEstimate::StepUpdate update = m_estimate.Step();
    if (auto* window = static_cast<CProgressDialog*>(m_window.data())) {
        if (update.showSeconds) {
            if (auto* text = window->Controls().Static(kTimeTextId)) {
                text->SetText(QString::asprintf(CProgressEstimate::TimeTextFormat(),
                                                unsigned(update.seconds)));
            }
        }
        if (update.setBar) {
            if (auto* bar = window->Controls().Progress(kProgressBarId))
                bar->SetValue(update.barPercent);
        }
    }
    return update.goOn;
}
