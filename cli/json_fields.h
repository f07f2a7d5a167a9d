#pragma once

#include <cmath>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

// Typed reads of request fields. Every failure throws RequestError naming the field's path
// ("components[3].vp.C[2]") and what was expected.

namespace quorvane {

// The request as JSON (comments allowed). Syntax errors, and numbers too large for a double
// ("1e400"), throw RequestError("malformed JSON: ...") with where it went wrong and a short
// excerpt of the text last read.
nlohmann::json ParseRequestText(std::string_view text);

std::string FieldPath(std::string_view parent, std::string_view key);
std::string ElementPath(std::string_view parent, std::size_t index);

// A finite number at `path`; `value` must not be null.
double AsNumber(const nlohmann::json& value, const std::string& path);

// The same, forming the path only when it is needed for the message (batches of requests
// read thousands of fields that are fine).
template <typename PathFn>
double AsNumberAt(const nlohmann::json& value, PathFn&& path) {
    if (value.is_number()) {
        const double number = value.get<double>();
        if (std::isfinite(number)) {
            return number;
        }
    }
    return AsNumber(value, path());
}

// obj[key] when present (null counts as absent), as a finite number.
std::optional<double> OptionalNumber(const nlohmann::json& obj, std::string_view key,
                                     std::string_view parent);
double RequireNumber(const nlohmann::json& obj, std::string_view key, std::string_view parent);

std::optional<std::string> OptionalString(const nlohmann::json& obj, std::string_view key,
                                          std::string_view parent);
std::string RequireString(const nlohmann::json& obj, std::string_view key, std::string_view parent);

std::optional<bool> OptionalBool(const nlohmann::json& obj, std::string_view key,
                                 std::string_view parent);

// obj[key] as an array (throws when absent or not an array).
const nlohmann::json& RequireArray(const nlohmann::json& obj, std::string_view key,
                                   std::string_view parent);

// The member or nullptr when absent or null.
const nlohmann::json* Member(const nlohmann::json& obj, std::string_view key);

} // namespace quorvane
