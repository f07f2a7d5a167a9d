#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quorvane {

// How much of the offending text a message quotes, and how long a message may get at most.
inline constexpr std::size_t kExcerptBytes = 40;
inline constexpr std::size_t kMaxErrorMessageBytes = 600;

// The text, or its first `most` bytes (cut at a character boundary) followed by "..." and its
// full length, so that a message never repeats a huge piece of the request.
inline std::string Excerpt(std::string_view text, std::size_t most = kExcerptBytes) {
    if (text.size() <= most) {
        return std::string(text);
    }
    std::size_t cut = most;
    // Back off to the start of a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0U) == 0x80U) {
        --cut;
    }
    return std::string(text.substr(0, cut)) + "... (" + std::to_string(text.size()) + " bytes)";
}

// A request that cannot be run. The message says what is wrong and where (a field path such
// as "components[2].Tc_F"); the batch runner prefixes the line number.
class RequestError : public std::runtime_error {
public:
    explicit RequestError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace quorvane
