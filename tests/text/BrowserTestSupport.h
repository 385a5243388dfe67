#pragma once
// What the browser tests share: the embedded browser's start-up flags (set before the
// application object exists), waiting for the browser without a fixed sleep, and an owner
// window that records the wrapper's notifications.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "text/NOXBrowser.h"

namespace browsertest {

// Chromium as root (CI, containers) needs its sandbox off, and no GPU is there.
inline const bool kFlagsSet = [] {
    if (!std::getenv("QTWEBENGINE_CHROMIUM_FLAGS"))
        ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu", 1);
    return true;
}();

// Lets events run until done() holds; false after the (generous) timeout. An event loop of
// its own rather than QTest::qWaitFor, whose pauses between rounds would slow every step of
// the browser down.
inline bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
    // A window that hides for a moment must not end the waiting (nor the program).
    QGuiApplication::setQuitOnLastWindowClosed(false);
    if (done()) return true;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    poll.start(2);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return done();
}

// Lets events run for ms milliseconds.
inline void Pause(int ms) {
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The answer of an asynchronous getter, waited for.
template <class T, class Call>
T Await(Call&& call) {
    T result{};
    bool arrived = false;
    call([&](const T& value) {
        result = value;
        arrived = true;
    });
    EXPECT_TRUE(WaitFor([&] { return arrived; })) << "no answer from the browser";
    return result;
}

struct Notice {
    int type = 0;
    int wParam = 0;
    std::string url;
    std::string target;
};

// A window that records what the wrapper sends it.
class COwner : public QWidget {
public:
    std::vector<Notice> notices;
    std::function<void(const Notice&)> onNotice;

    int Count(QEvent::Type type) const {
        int n = 0;
        for (const Notice& notice : notices) n += notice.type == type;
        return n;
    }
    const Notice* Last(QEvent::Type type) const {
        for (auto it = notices.rbegin(); it != notices.rend(); ++it)
            if (it->type == type) return &*it;
        return nullptr;
    }

protected:
    bool event(QEvent* e) override {
        const int type = e->type();
        if (type == NBM_LINKCLICKED || type == NBM_PAGELOADED || type == NBM_RELOAD
            || type == NBM_CONTEXTMENU || (type >= NBM_MOUSEDOWN && type <= NBM_KEYDOWN)) {
            const auto* message = static_cast<const CBrowserEvent*>(e);
            Notice notice{type, message->WParam(), "", ""};
            if (const CLinkRecord* record = message->Record()) {
                notice.url = record->url;
                notice.target = record->target;
            }
            notices.push_back(notice);
            if (onNotice) onNotice(notice);
            return true;
        }
        return QWidget::event(e);
    }
};

}  // namespace browsertest
