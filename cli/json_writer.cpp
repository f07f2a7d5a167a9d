#include "cli/json_writer.h"

#include "cli/float_text.h"

#include <charconv>
#include <cmath>

namespace quorvane {

namespace {

// to_chars writes "800" for 800 and "1e-08" for 1e-8; a number written from a floating-point
// value keeps a fraction part, as JSON libraries print it. Returns the end of the number.
char* WithFraction(char* begin, char* end) {
    for (const char* c = begin; c != end; ++c) {
        if (*c == '.' || *c == 'e') {
            return end;
        }
    }
    *end++ = '.';
    *end++ = '0';
    return end;
}

} // namespace

void JsonWriter::Clear() {
    m_size = 0;
    m_depth = 0;
    m_afterKey = false;
}

void JsonWriter::Separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_depth > 0) {
        if (!m_first[m_depth - 1]) {
            Append(',');
        }
        m_first[m_depth - 1] = false;
    }
}

void JsonWriter::BeginObject() {
    Separate();
    Append('{');
    m_first.at(m_depth++) = true;
}

void JsonWriter::EndObject() {
    Append('}');
    --m_depth;
}

void JsonWriter::BeginArray() {
    Separate();
    Append('[');
    m_first.at(m_depth++) = true;
}

void JsonWriter::EndArray() {
    Append(']');
    --m_depth;
}

void JsonWriter::Key(std::string_view key) {
    Separate();
    AppendString(key);
    Append(':');
    m_afterKey = true;
}

void JsonWriter::Single(float value) {
    Separate();
    if (!std::isfinite(value)) {
        Append("null");
        return;
    }
    constexpr std::size_t kMost = 24; // the longest text of a float, with ".0"
    char* begin = Extend(kMost);
    char* end = WithFraction(begin, WriteShortestFloat(begin, value));
    m_size -= static_cast<std::size_t>(begin + kMost - end);
}

void JsonWriter::Double(double value) {
    Separate();
    if (!std::isfinite(value)) {
        Append("null");
        return;
    }
    constexpr std::size_t kMost = 32; // the longest text of a double, with ".0"
    char* begin = Extend(kMost);
    char* end = WithFraction(begin, std::to_chars(begin, begin + kMost - 2, value).ptr);
    m_size -= static_cast<std::size_t>(begin + kMost - end);
}

void JsonWriter::Integer(long long value) {
    Separate();
    constexpr std::size_t kMost = 24;
    char* begin = Extend(kMost);
    char* end = std::to_chars(begin, begin + kMost, value).ptr;
    m_size -= static_cast<std::size_t>(begin + kMost - end);
}

void JsonWriter::Bool(bool value) {
    Separate();
    Append(value ? std::string_view("true") : std::string_view("false"));
}

void JsonWriter::Null() {
    Separate();
    Append("null");
}

void JsonWriter::String(std::string_view text) {
    Separate();
    AppendString(text);
}

void JsonWriter::AppendString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != '"' && byte != '\\';
    };
    // Keys and most strings need no escape: copied as they are scanned, into room made once.
    char* out = Extend(text.size() + 2);
    *out++ = '"';
    std::size_t first = 0;
    while (first < text.size() && plain(text[first])) {
        out[first] = text[first];
        ++first;
    }
    if (first == text.size()) {
        out[first] = '"';
        return;
    }
    // From the first character that needs an escape on: runs of plain characters go in whole.
    m_size -= text.size() + 1 - first;
    std::size_t start = first;
    for (std::size_t i = first; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (plain(text[i])) {
            continue;
        }
        Append(text.substr(start, i - start));
        start = i + 1;
        switch (byte) {
        case '"':
            Append("\\\"");
            break;
        case '\\':
            Append("\\\\");
            break;
        case '\n':
            Append("\\n");
            break;
        case '\r':
            Append("\\r");
            break;
        case '\t':
            Append("\\t");
            break;
        default: {
            const char escape[] = {'\\', 'u', '0', '0', kHex[byte >> 4], kHex[byte & 0xF]};
            Append(std::string_view(escape, sizeof(escape)));
        }
        }
    }
    Append(text.substr(start));
    Append('"');
}

} // namespace quorvane
