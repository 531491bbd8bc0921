#pragma once

#include "web/HttpRequestParser.h"

namespace tavlo {

// What one client may cost the station: bytes (the parser's limits), time
// and buffered output; and how many clients there may be at once.
struct WebServerLimits {
    HttpLimits request;
    int maxConnections = 256;
    // From any one address but this machine's own, so one client on the
    // network cannot take every place.
    int maxConnectionsPerPeer = 16;
    // A request must arrive whole within this time of its first byte.
    int requestTimeoutMs = 10000;
    // A kept-alive connection with no request for this long is closed.
    int idleTimeoutMs = 30000;
    // Pushed events a client has not taken yet; beyond it the client is
    // dropped (an event stream nobody reads must not grow without end).
    qint64 maxUnsentBytes = 1024 * 1024;
};

}  // namespace tavlo
