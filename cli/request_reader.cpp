#include "cli/request_reader.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace quorvane {

namespace {

// How deep a member the request does not read may nest.
constexpr int kMostDepth = 64;

class Cursor {
public:
    explicit Cursor(std::string_view text) : m_text(text) {}

    void SkipSpace() {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
                return;
            }
            ++m_at;
        }
    }
    [[nodiscard]] bool AtEnd() const { return m_at >= m_text.size(); }
    [[nodiscard]] char Peek() const { return AtEnd() ? '\0' : m_text[m_at]; }
    bool Take(char c) {
        SkipSpace();
        if (Peek() != c) {
            return false;
        }
        ++m_at;
        return true;
    }
    [[nodiscard]] std::size_t At() const { return m_at; }

    // A string without escapes, control characters or bytes outside ASCII: its text.
    bool PlainString(std::string_view& out) {
        SkipSpace();
        if (Peek() != '"') {
            return false;
        }
        const std::size_t begin = ++m_at;
        for (; m_at < m_text.size(); ++m_at) {
            const auto c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"') {
                out = m_text.substr(begin, m_at - begin);
                ++m_at;
                return true;
            }
            if (c == '\\' || c < 0x20 || c >= 0x80) {
                return false;
            }
        }
        return false;
    }

    // A number as the full parser reads it: the JSON grammar, then the nearest double (an
    // integer, read there as a 64-bit integer and converted, rounds the same way; minus zero
    // written as an integer is zero). A number beyond the range of a double, or below its
    // normal range, is refused.
    bool Number(double& out) {
        SkipSpace();
        const std::size_t begin = m_at;
        bool integer = true;
        Accept('-');
        if (!Accept('0') && !Digits()) {
            return false;
        }
        if (Accept('.')) {
            integer = false;
            if (!Digits()) {
                return false;
            }
        }
        if (Accept('e') || Accept('E')) {
            integer = false;
            if (!Accept('+')) {
                Accept('-');
            }
            if (!Digits()) {
                return false;
            }
        }
        const char* first = m_text.data() + begin;
        const char* last = m_text.data() + m_at;
        double value = 0.0;
        const auto [end, status] = std::from_chars(first, last, value);
        if (status != std::errc() || end != last || !std::isfinite(value)) {
            return false;
        }
        if (value == 0.0) {
            // Zero only when every digit of the mantissa is (not an underflow).
            for (const char* c = first; c != last && *c != 'e' && *c != 'E'; ++c) {
                if (*c >= '1' && *c <= '9') {
                    return false;
                }
            }
            value = integer ? 0.0 : value;
        } else if (std::fabs(value) < std::numeric_limits<double>::min()) {
            return false;
        }
        out = value;
        return true;
    }

    bool Literal(std::string_view word) {
        SkipSpace();
        if (m_text.substr(m_at, word.size()) != word) {
            return false;
        }
        m_at += word.size();
        return true;
    }

    // Any value, checked and passed over.
    bool SkipValue() {
        std::array<char, kMostDepth> open{}; // the closing bracket of each open container
        int depth = 0;
        for (;;) {
            SkipSpace();
            const char c = Peek();
            if (c == '{' || c == '[') {
                if (depth == kMostDepth) {
                    return false;
                }
                ++m_at;
                const char close = c == '{' ? '}' : ']';
                // An empty container is a whole value; otherwise on to its first value.
                if (!Take(close)) {
                    open[static_cast<std::size_t>(depth++)] = close;
                    if (close == '}' && !MemberName()) {
                        return false;
                    }
                    continue;
                }
            } else if (c == '"') {
                std::string_view unused;
                if (!PlainString(unused)) {
                    return false;
                }
            } else if (c == 't' || c == 'f' || c == 'n') {
                if (!Literal("true") && !Literal("false") && !Literal("null")) {
                    return false;
                }
            } else {
                double unused = 0.0;
                if (!Number(unused)) {
                    return false;
                }
            }
            // After a value: the next one of its container, or the end of the container.
            for (;;) {
                if (depth == 0) {
                    return true;
                }
                const char close = open[static_cast<std::size_t>(depth - 1)];
                if (Take(',')) {
                    if (close == '}' && !MemberName()) {
                        return false;
                    }
                    break;
                }
                if (!Take(close)) {
                    return false;
                }
                --depth;
            }
        }
    }

    // The text of an array from '[' to its ']', its brackets matched outside strings; false
    // for a comment or an unended array. Its contents are checked by whoever reads them. A
    // text that starts with `likely`, a whole array, has that array.
    bool ArrayText(std::string_view& out, std::string_view likely) {
        SkipSpace();
        if (Peek() != '[') {
            return false;
        }
        if (!likely.empty() && m_text.substr(m_at, likely.size()) == likely) {
            out = likely;
            m_at += likely.size();
            return true;
        }
        const std::size_t begin = m_at;
        int depth = 0;
        for (; m_at < m_text.size(); ++m_at) {
            const char c = m_text[m_at];
            if (c == '"') {
                for (++m_at; m_at < m_text.size() && m_text[m_at] != '"'; ++m_at) {
                    if (m_text[m_at] == '\\') {
                        ++m_at;
                    }
                }
                if (m_at >= m_text.size()) {
                    return false;
                }
            } else if (c == '/') {
                return false;
            } else if (c == '[' || c == '{') {
                ++depth;
            } else if (c == ']' || c == '}') {
                if (--depth == 0) {
                    ++m_at;
                    out = m_text.substr(begin, m_at - begin);
                    return true;
                }
            }
        }
        return false;
    }

private:
    bool Accept(char c) {
        if (Peek() != c) {
            return false;
        }
        ++m_at;
        return true;
    }
    bool Digits() {
        const std::size_t begin = m_at;
        while (Peek() >= '0' && Peek() <= '9') {
            ++m_at;
        }
        return m_at > begin;
    }
    // A member name and its colon.
    bool MemberName() {
        std::string_view unused;
        return PlainString(unused) && Take(':');
    }
    std::string_view m_text;
    std::size_t m_at = 0;
};

// null or a number.
bool OptionalNumber(Cursor& cursor, std::optional<double>& out) {
    if (cursor.Literal("null")) {
        out.reset();
        return true;
    }
    double value = 0.0;
    if (!cursor.Number(value)) {
        return false;
    }
    out = value;
    return true;
}

// An array of at most `most` numbers into values.
bool Numbers(Cursor& cursor, double* values, std::size_t most, std::size_t& count) {
    count = 0;
    if (!cursor.Take('[')) {
        return false;
    }
    if (cursor.Take(']')) {
        return true;
    }
    do {
        if (count == most || !cursor.Number(values[count])) {
            return false;
        }
        ++count;
    } while (cursor.Take(','));
    return cursor.Take(']');
}

bool Interactions(Cursor& cursor, RequestFields& fields) {
    if (cursor.Literal("null")) {
        fields.kijGiven = false;
        return true;
    }
    if (!cursor.Take('[')) {
        return false;
    }
    fields.kijGiven = true;
    fields.kijRows = 0;
    if (cursor.Take(']')) {
        return true;
    }
    // Rows are read at a stride of the most components and packed once their number is known.
    std::array<std::size_t, kMostPlainComponents> lengths{};
    do {
        if (fields.kijRows == kMostPlainComponents ||
            !Numbers(cursor, fields.kij.data() + fields.kijRows * kMostPlainComponents,
                     kMostPlainComponents, lengths[fields.kijRows])) {
            return false;
        }
        ++fields.kijRows;
    } while (cursor.Take(','));
    if (!cursor.Take(']')) {
        return false;
    }
    const std::size_t n = fields.kijRows;
    for (std::size_t i = 0; i < n; ++i) {
        if (lengths[i] != n) {
            return false;
        }
        for (std::size_t j = 0; j < n; ++j) {
            fields.kij[i * n + j] = fields.kij[i * kMostPlainComponents + j];
        }
    }
    return true;
}

bool Properties(Cursor& cursor, RequestFields& fields) {
    fields.propertyGroups = 0;
    if (cursor.Literal("null") || cursor.Literal("true")) {
        fields.propertyGroups = kAllPropertyGroups;
        return true;
    }
    if (cursor.Literal("false")) {
        return true;
    }
    if (!cursor.Take('[')) {
        return false;
    }
    if (cursor.Take(']')) {
        return true;
    }
    const std::vector<std::string>& names = PropertyGroupNames();
    do {
        std::string_view name;
        if (!cursor.PlainString(name)) {
            return false;
        }
        std::size_t k = 0;
        while (k < names.size() && names[k] != name) {
            ++k;
        }
        if (k == names.size()) {
            return false;
        }
        fields.propertyGroups |= 1U << k;
    } while (cursor.Take(','));
    return cursor.Take(']');
}

bool Member(Cursor& cursor, std::string_view name, RequestFields& fields,
            std::string_view likelyComponents) {
    if (name == "eos") {
        return cursor.PlainString(fields.eos);
    }
    if (name == "flash") {
        return cursor.PlainString(fields.flash);
    }
    if (name == "T_F") {
        return OptionalNumber(cursor, fields.tempF);
    }
    if (name == "P_psia") {
        return OptionalNumber(cursor, fields.pressPsia);
    }
    if (name == "vf") {
        return OptionalNumber(cursor, fields.vaporFraction);
    }
    if (name == "components") {
        // Given twice, the request is left to the full parser.
        return fields.components.empty() && cursor.ArrayText(fields.components, likelyComponents);
    }
    if (name == "z") {
        if (cursor.Literal("null")) {
            fields.zGiven = false;
            return true;
        }
        fields.zGiven = true;
        return Numbers(cursor, fields.z.data(), fields.z.size(), fields.zCount);
    }
    if (name == "kij") {
        return Interactions(cursor, fields);
    }
    if (name == "estimate_kij") {
        if (cursor.Literal("null")) {
            fields.estimateKij.reset();
        } else if (cursor.Literal("true")) {
            fields.estimateKij = true;
        } else if (cursor.Literal("false")) {
            fields.estimateKij = false;
        } else {
            return false;
        }
        return true;
    }
    if (name == "properties") {
        return Properties(cursor, fields);
    }
    return cursor.SkipValue();
}

} // namespace

void RequestFields::Clear() {
    eos = {};
    flash = {};
    tempF.reset();
    pressPsia.reset();
    vaporFraction.reset();
    components = {};
    zGiven = false;
    zCount = 0;
    kijGiven = false;
    kijRows = 0;
    estimateKij.reset();
    propertyGroups = kAllPropertyGroups;
}

bool ReadRequestFields(std::string_view text, RequestFields& fields,
                       std::string_view likelyComponents) {
    fields.Clear();
    Cursor cursor(text);
    if (!cursor.Take('{')) {
        return false;
    }
    if (!cursor.Take('}')) {
        do {
            std::string_view name;
            if (!cursor.PlainString(name) || !cursor.Take(':') ||
                !Member(cursor, name, fields, likelyComponents)) {
                return false;
            }
        } while (cursor.Take(','));
        if (!cursor.Take('}')) {
            return false;
        }
    }
    cursor.SkipSpace();
    return cursor.AtEnd();
}

} // namespace quorvane
