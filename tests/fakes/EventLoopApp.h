#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <memory>

namespace tavlo::test {

// The event loop the network and D-Bus need, for a test process that has none.
class EventLoopApp {
public:
    EventLoopApp()
    {
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QCoreApplication>(m_argc, m_argv);
    }
    // Runs events until `done` or `ms` have passed; says whether `done` came.
    template <typename Pred>
    static bool spinUntil(Pred done, int ms = 5000)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

private:
    int m_argc = 1;
    char m_name[12] = "tavlo_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QCoreApplication> m_app;
};

}  // namespace tavlo::test
