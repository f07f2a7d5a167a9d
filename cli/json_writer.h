#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

// Writes one compact JSON value into a buffer, straight from the numbers: a batch answers
// tens of thousands of requests, and building a document tree for each answer only to print
// it cost more than the flash. Numbers follow the rules of every response: 32-bit values with
// the shortest digits that read back to the same float, 64-bit values with the shortest
// digits of the double, and null for anything that is not finite. The buffer keeps its storage
// from one value to the next (Clear starts over).

namespace quorvane {

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();

    // The key of the next member of the current object.
    void Key(std::string_view key);

    void Single(float value);
    void Double(double value);
    void Integer(long long value);
    void Bool(bool value);
    void Null();
    void String(std::string_view text);

    // Key and value in one call.
    template <typename Value>
    void Member(std::string_view key, Value value) {
        Key(key);
        Write(value);
    }

    [[nodiscard]] std::string_view Text() const { return {m_buffer.data(), m_size}; }
    [[nodiscard]] std::string Take() const { return std::string(Text()); }
    // The text into `out`, whose storage is reused: sized with room to spare the first time,
    // so that the next, slightly longer answer of a batch fits too.
    void CopyTo(std::string& out) const {
        if (out.capacity() < m_size) {
            out.reserve(m_size + m_size / 4 + 64);
        }
        out.assign(m_buffer.data(), m_size);
    }
    // Starts over: no text, nothing open (the storage is kept).
    void Clear();

private:
    void Write(float value) { Single(value); }
    void Write(double value) { Double(value); }
    void Write(bool value) { Bool(value); }
    void Write(int value) { Integer(value); }
    void Write(std::string_view text) { String(text); }
    void Write(const char* text) { String(text); }
    void Write(const std::string& text) { String(text); }

    // Before a value or key: the comma between siblings.
    void Separate();
    void AppendString(std::string_view text);
    // Room for `count` more bytes at the end of the text; the caller writes them.
    char* Extend(std::size_t count) {
        if (m_size + count > m_buffer.size()) {
            m_buffer.resize(std::max<std::size_t>(2 * m_buffer.size(), m_size + count + 256));
        }
        char* at = m_buffer.data() + m_size;
        m_size += count;
        return at;
    }
    void Append(char c) { *Extend(1) = c; }
    void Append(std::string_view text) {
        std::memcpy(Extend(text.size()), text.data(), text.size());
    }

    static constexpr std::size_t kMostDepth = 32;

    std::vector<char> m_buffer;
    std::size_t m_size = 0;
    std::array<bool, kMostDepth> m_first{}; // per open container: nothing written in it yet
    std::size_t m_depth = 0;
    bool m_afterKey = false;
};

} // namespace quorvane
