#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fat::net {

// The final answer to one request: status code, header lines in the order received (of the
// last response only, when the request had to be repeated) and the body bytes as they came.
struct HttpResponse {
    int status = 0;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    bool succeeded() const { return status >= 200 && status <= 299; }
    // Value of the first header with that name, compared without regard to case; "" if none.
    std::string header(std::string_view name) const;
};

} // namespace fat::net
