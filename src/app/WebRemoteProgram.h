#pragma once

#include "app/CommandLine.h"
#include "web/WebRemoteDialog.h"
#include "web/WebRemoteSettings.h"
#include "web/net/WebRemote.h"

#include <optional>

namespace tavlo {

struct AppServices;
class Station;

// The web remote as a run of the program starts it: where (the command
// line's --web, else the settings on a desktop, else 127.0.0.1:8091 for
// --headless; --render only with --web), with the token of
// WebRemoteSettings, and what the operator is told through the music
// window's status bar (and stderr): where it listens, or once why it cannot,
// the station playing on without it. On a desktop its dialog applies the
// operator's choice at once.
// UI thread only.
class WebRemoteProgram {
public:
    enum class Run { Desktop, Headless, Render };

    WebRemoteProgram(Station& station, AppServices& services, const CommandLine& cl, Run run);

    // After the station's start: runs the remote if this run has one.
    void start();
    bool isListening() const { return m_remote.isListening(); }
    WebRemoteDialog& dialog() { return m_dialog; }

private:
    QString apply(const WebRemoteChoice& choice);
    void listen(const WebRemoteChoice& choice);
    QString status() const;
    void tell(const QString& text) const;

    Station& m_station;
    WebRemoteSettings m_settings;
    WebRemote m_remote;
    WebRemoteDialog m_dialog;
    std::optional<WebRemoteChoice> m_choice;  // what this run starts with; nothing: no remote
    QString m_failure;
};

}  // namespace tavlo
