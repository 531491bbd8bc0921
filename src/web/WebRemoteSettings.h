#pragma once

#include "web/WebAddress.h"

#include <QString>

namespace tavlo {

class SettingsStore;

// What the operator chose for the remote.
struct WebRemoteChoice {
    bool enabled = false;
    WebAddress address;
    // An origin whose pages may call the API from a browser (CORS); "" none.
    QString allowedOrigin;
    bool operator==(const WebRemoteChoice&) const = default;
};

// The remote's settings under "Web Remote" in the program's settings, and
// its token: TAVLO_WEB_TOKEN when the environment gives one, else the
// stored one, else a new one made and stored on first use. A token is only
// stored once the settings file is readable by its owner alone; it is never
// taken from the command line, where every user of the machine could read it.
// UI thread only.
class WebRemoteSettings {
public:
    static constexpr const char* kEnvironmentToken = "TAVLO_WEB_TOKEN";

    WebRemoteSettings(SettingsStore& store, const QString& app);

    WebRemoteChoice read() const;
    void save(const WebRemoteChoice& choice);

    QString token();
    // A new stored token; the old one stops working. The environment's, while given, stays.
    QString renewToken();
    static bool tokenFromEnvironment();

private:
    void storeToken(const QString& token);

    SettingsStore& m_store;
    QString m_app;
};

}  // namespace tavlo
