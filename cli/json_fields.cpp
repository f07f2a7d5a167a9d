#include "cli/json_fields.h"

#include "cli/request_error.h"

#include <cmath>
#include <cstring>

namespace quorvane {

namespace {

const char* TypeName(const nlohmann::json& value) {
    return value.type_name();
}

// nlohmann's messages start with "[json.exception.parse_error.101] "; the rest says where, and
// may end with the text last read ("; last read: '<text>'"), of which an excerpt is kept.
std::string WithoutExceptionTag(const char* message) {
    const char* text = message;
    if (text[0] == '[') {
        if (const char* end = std::strstr(text, "] ")) {
            text = end + 2;
        }
    }
    const std::string_view rest(text);
    constexpr std::string_view kLastRead = "; last read: '";
    const std::size_t at = rest.find(kLastRead);
    if (at == std::string_view::npos) {
        return std::string(rest);
    }
    std::string_view read = rest.substr(at + kLastRead.size());
    if (!read.empty() && read.back() == '\'') {
        read.remove_suffix(1);
    }
    return std::string(rest.substr(0, at + kLastRead.size())) + Excerpt(read) + "'";
}

} // namespace

nlohmann::json ParseRequestText(std::string_view text) {
    try {
        return nlohmann::json::parse(text, nullptr, true, true);
    } catch (const nlohmann::json::exception& error) {
        throw RequestError("malformed JSON: " +
                           Excerpt(WithoutExceptionTag(error.what()), kMaxErrorMessageBytes));
    }
}

std::string FieldPath(std::string_view parent, std::string_view key) {
    std::string path(parent);
    if (!path.empty()) {
        path += '.';
    }
    path += key;
    return path;
}

std::string ElementPath(std::string_view parent, std::size_t index) {
    std::string path(parent);
    path += '[';
    path += std::to_string(index);
    path += ']';
    return path;
}

const nlohmann::json* Member(const nlohmann::json& obj, std::string_view key) {
    if (!obj.is_object()) {
        return nullptr;
    }
    auto it = obj.find(key);
    if (it == obj.end() || it->is_null()) {
        return nullptr;
    }
    return &*it;
}

double AsNumber(const nlohmann::json& value, const std::string& path) {
    if (!value.is_number()) {
        throw RequestError(path + ": expected a number, found " + TypeName(value));
    }
    const double number = value.get<double>();
    if (!std::isfinite(number)) {
        throw RequestError(path + ": the number is out of range");
    }
    return number;
}

std::optional<double> OptionalNumber(const nlohmann::json& obj, std::string_view key,
                                     std::string_view parent) {
    const nlohmann::json* member = Member(obj, key);
    if (member == nullptr) {
        return std::nullopt;
    }
    return AsNumberAt(*member, [&] { return FieldPath(parent, key); });
}

double RequireNumber(const nlohmann::json& obj, std::string_view key, std::string_view parent) {
    std::optional<double> number = OptionalNumber(obj, key, parent);
    if (!number) {
        throw RequestError(FieldPath(parent, key) + ": missing field");
    }
    return *number;
}

std::optional<std::string> OptionalString(const nlohmann::json& obj, std::string_view key,
                                          std::string_view parent) {
    const nlohmann::json* member = Member(obj, key);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (!member->is_string()) {
        throw RequestError(FieldPath(parent, key) + ": expected a string, found " +
                           TypeName(*member));
    }
    return member->get<std::string>();
}

std::string RequireString(const nlohmann::json& obj, std::string_view key,
                          std::string_view parent) {
    std::optional<std::string> text = OptionalString(obj, key, parent);
    if (!text) {
        throw RequestError(FieldPath(parent, key) + ": missing field");
    }
    return *text;
}

std::optional<bool> OptionalBool(const nlohmann::json& obj, std::string_view key,
                                 std::string_view parent) {
    const nlohmann::json* member = Member(obj, key);
    if (member == nullptr) {
        return std::nullopt;
    }
    if (!member->is_boolean()) {
        throw RequestError(FieldPath(parent, key) + ": expected true or false, found " +
                           TypeName(*member));
    }
    return member->get<bool>();
}

const nlohmann::json& RequireArray(const nlohmann::json& obj, std::string_view key,
                                   std::string_view parent) {
    const nlohmann::json* member = Member(obj, key);
    if (member == nullptr) {
        throw RequestError(FieldPath(parent, key) + ": missing field");
    }
    if (!member->is_array()) {
        throw RequestError(FieldPath(parent, key) + ": expected an array, found " +
                           TypeName(*member));
    }
    return *member;
}

} // namespace quorvane
