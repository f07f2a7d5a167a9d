#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

namespace quorvane {

namespace {

// to_chars writes "800" for 800 and "1e-08" for 1e-8; a number written from a floating-point
// value keeps a fraction part, as JSON libraries print it.
void AppendNumber(std::string& text, const char* begin, const char* end) {
    text.append(begin, end);
    for (const char* c = begin; c != end; ++c) {
        if (*c == '.' || *c == 'e') {
            return;
        }
    }
    text += ".0";
}

} // namespace

void JsonWriter::Separate() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back()) {
            m_text += ',';
        }
        m_first.back() = false;
    }
}

void JsonWriter::BeginObject() {
    Separate();
    m_text += '{';
    m_first.push_back(true);
}

void JsonWriter::EndObject() {
    m_text += '}';
    m_first.pop_back();
}

void JsonWriter::BeginArray() {
    Separate();
    m_text += '[';
    m_first.push_back(true);
}

void JsonWriter::EndArray() {
    m_text += ']';
    m_first.pop_back();
}

void JsonWriter::Key(std::string_view key) {
    Separate();
    AppendString(key);
    m_text += ':';
    m_afterKey = true;
}

void JsonWriter::Single(float value) {
    Separate();
    if (!std::isfinite(value)) {
        m_text += "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    AppendNumber(m_text, buffer, result.ptr);
}

void JsonWriter::Double(double value) {
    Separate();
    if (!std::isfinite(value)) {
        m_text += "null";
        return;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    AppendNumber(m_text, buffer, result.ptr);
}

void JsonWriter::Integer(long long value) {
    Separate();
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    m_text.append(buffer, result.ptr);
}

void JsonWriter::Bool(bool value) {
    Separate();
    m_text += value ? "true" : "false";
}

void JsonWriter::Null() {
    Separate();
    m_text += "null";
}

void JsonWriter::String(std::string_view text) {
    Separate();
    AppendString(text);
}

void JsonWriter::AppendString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    m_text += '"';
    // Runs of characters that need no escape go in whole.
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte != '"' && byte != '\\') {
            continue;
        }
        m_text.append(text.data() + start, i - start);
        start = i + 1;
        switch (byte) {
        case '"':
            m_text += "\\\"";
            break;
        case '\\':
            m_text += "\\\\";
            break;
        case '\n':
            m_text += "\\n";
            break;
        case '\r':
            m_text += "\\r";
            break;
        case '\t':
            m_text += "\\t";
            break;
        default:
            m_text += "\\u00";
            m_text += kHex[byte >> 4];
            m_text += kHex[byte & 0xF];
        }
    }
    m_text.append(text.data() + start, text.size() - start);
    m_text += '"';
}

} // namespace quorvane
