#pragma once

#include <QObject>

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

    static bool received();

Q_SIGNALS:
    void arrived();
};

}  // namespace tavlo
