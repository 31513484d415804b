#pragma once
#include <string>

namespace fat::net {

// Where HTTP requests go when they do not go straight to the server. An empty server means a
// direct connection (environment proxy variables are ignored as well).
struct ProxySettings {
    std::string server;
    int port = 0; // 0: the proxy's default port
    std::string userName;
    std::string password;
    // On: the credentials are sent as basic authentication with every request. Off: they are
    // offered only when the proxy asks for them (407), in whichever scheme it asks for.
    bool basicAuthentication = false;

    bool empty() const { return server.empty(); }
};

} // namespace fat::net
