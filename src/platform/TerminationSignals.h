#pragma once

#include <QObject>

class QSocketNotifier;

namespace tavlo {

// SIGINT and SIGTERM for a run without a desktop. A signal handler may only
// set a flag and write to a pipe: a loop that renders asks received()
// between blocks, an event loop hears the pipe as arrived(). Caught from
// construction on, for the rest of the process; one at a time.
// UI thread only (the handler itself runs wherever the signal lands).
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

    static bool received();

Q_SIGNALS:
    void arrived();

private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace tavlo
