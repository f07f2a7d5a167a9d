#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writes one compact JSON value into a string, straight from the numbers: a batch answers
// tens of thousands of requests, and building a document tree for each answer only to print
// it cost more than the flash. Numbers follow the rules of every response: 32-bit values with
// the shortest digits that read back to the same float, 64-bit values with the shortest
// digits of the double, and null for anything that is not finite.

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

    void Reserve(std::size_t bytes) { m_text.reserve(bytes); }
    const std::string& Text() const { return m_text; }
    std::string Take() { return std::move(m_text); }

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

    std::string m_text;
    std::vector<bool> m_first; // per open container: nothing written in it yet
    bool m_afterKey = false;
};

} // namespace quorvane
