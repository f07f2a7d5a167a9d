#pragma once

#include <stdexcept>
#include <string>

namespace quorvane {

// A request that cannot be run. The message says what is wrong and where (a field path such
// as "components[2].Tc_F"); the batch runner prefixes the line number.
class RequestError : public std::runtime_error {
public:
    explicit RequestError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace quorvane
