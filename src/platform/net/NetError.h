#pragma once
#include "platform/core/Errors.h"

namespace fat::net {

// A request that got no usable HTTP answer. An answer with an error status is not a NetError:
// the caller gets it as a response and decides.
class NetError : public Error {
public:
    enum class Kind {
        CouldNotConnect, // refused, unreachable, connect timeout
        HostNotFound,    // the server's or the proxy's name does not resolve
        Timeout,         // no data for longer than the read timeout
        TooLarge,        // the body is larger than the client accepts
        Protocol,        // anything else: malformed answer, connection dropped, bad URL
    };

    NetError(Kind kind, const std::string& message) : Error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

} // namespace fat::net
