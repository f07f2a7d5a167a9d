#include "units/number_format.h"

#include "common/precision.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace quorvane {

namespace {

bool IsPlaceChar(char c) {
    return c == '#' || c == '0' || c == ',' || c == '.';
}

// More decimals than a double carries would only print noise.
constexpr int kMaxDecimals = 20;

struct Pattern {
    std::string prefix;
    std::string suffix;
    int minIntDigits = 0; // "0" places before the point
    bool grouping = false;
    int minDecimals = 0; // "0" places after the point
    int maxDecimals = 0; // all places after the point
};

Pattern ParsePattern(std::string_view text) {
    Pattern p;
    const std::size_t first = text.find_first_of("#0,.");
    if (first == std::string_view::npos) {
        p.prefix = text;
        return p;
    }
    const std::size_t last = text.find_last_of("#0,.");
    p.prefix = text.substr(0, first);
    p.suffix = text.substr(last + 1);
    bool afterPoint = false;
    for (std::size_t i = first; i <= last; ++i) {
        const char c = text[i];
        if (!IsPlaceChar(c)) {
            continue;
        }
        if (c == '.') {
            afterPoint = true;
        } else if (!afterPoint) {
            p.minIntDigits += c == '0' ? 1 : 0;
            p.grouping = p.grouping || c == ',';
        } else if (c != ',' && p.maxDecimals < kMaxDecimals) {
            ++p.maxDecimals;
            p.minDecimals += c == '0' ? 1 : 0;
        }
    }
    return p;
}

// A magnitude as decimal digits: the shortest digits that read back as the same value (so a
// 32-bit value shows the digits it was typed or computed with, not the binary noise of its
// 64-bit widening), with the decimal point after `pointPos` of them (0 or less: leading zeros
// after the point; more than the digits: trailing zeros before it).
struct DecimalDigits {
    std::string digits;
    int pointPos = 0;
};

template <typename T>
DecimalDigits ShortestDigits(T magnitude) {
    char buf[64];
    const auto result =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
    const std::string_view text(buf, static_cast<std::size_t>(result.ptr - buf)); // d.ddde+XX
    const std::size_t e = text.find('e');
    DecimalDigits d;
    for (char c : text.substr(0, e)) {
        if (c != '.') {
            d.digits += c;
        }
    }
    std::string_view exponent = text.substr(e + 1);
    const bool negativeExponent = exponent.front() == '-';
    exponent.remove_prefix(1); // the sign
    int power = 0;
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
    d.pointPos = (negativeExponent ? -power : power) + 1;
    return d;
}

// Keeps the first `kept` digits (fewer than there are), rounded half away from zero; a carry
// out of the first digit puts a "1" in front and moves the point up one (9.99 -> 10.0).
void RoundAt(DecimalDigits& d, std::size_t kept) {
    const bool roundUp = d.digits[kept] >= '5';
    d.digits.resize(kept);
    if (!roundUp) {
        return;
    }
    std::size_t i = kept;
    while (i > 0 && d.digits[i - 1] == '9') {
        d.digits[--i] = '0';
    }
    if (i > 0) {
        ++d.digits[i - 1];
    } else {
        d.digits.insert(0, 1, '1');
        ++d.pointPos;
    }
}

// Significant digits (no trailing zeros) times 10^exponent as text without a sign: the exponent
// form "6.9E-06" (two-digit signed exponent), or positional with or without a zero before the
// point ("0.05" / ".05").
std::string PlaceDigits(const std::string& digits, int exponent, bool exponentForm,
                        bool zeroBeforePoint) {
    std::string out;
    if (exponentForm) {
        out += digits[0];
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const int magnitude = std::abs(exponent);
        if (magnitude < 10) {
            out += '0';
        }
        out += std::to_string(magnitude);
        return out;
    }
    if (exponent < 0) {
        out += zeroBeforePoint ? "0." : ".";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const auto intCount = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= intCount) {
        out += digits;
        out.append(intCount - digits.size(), '0');
    } else {
        out.append(digits, 0, intCount);
        out += '.';
        out.append(digits, intCount);
    }
    return out;
}

// The digits rounded half away from zero to `decimals` places, as integer and fraction digit
// strings (the fraction exactly `decimals` long). Single digits are set with assign(1, '0'):
// GCC 12 at -O3 warns falsely (-Wrestrict) about assigning a literal to a string here.
void RoundedDigits(DecimalDigits d, int decimals, std::string& intDigits, std::string& fracDigits) {
    const int keep = d.pointPos + decimals;
    if (keep < 0) {
        intDigits.assign(1, '0');
        fracDigits.assign(static_cast<std::size_t>(decimals), '0');
        return;
    }
    const auto kept = static_cast<std::size_t>(keep);
    if (kept < d.digits.size()) {
        RoundAt(d, kept);
    } else {
        d.digits.append(kept - d.digits.size(), '0');
    }
    if (d.pointPos <= 0) {
        intDigits.assign(1, '0');
        fracDigits = std::string(static_cast<std::size_t>(-d.pointPos), '0') + d.digits;
    } else {
        const auto point = static_cast<std::size_t>(d.pointPos);
        intDigits = d.digits.substr(0, point);
        fracDigits = d.digits.substr(point);
    }
}

std::string Grouped(const std::string& digits) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        out += digits[i];
        const std::size_t remaining = n - i - 1;
        if (remaining > 0 && remaining % 3 == 0) {
            out += ',';
        }
    }
    return out;
}

} // namespace

namespace {

template <typename T>
std::string FormatWithPattern(T value, std::string_view pattern) {
    if (!std::isfinite(value)) {
        return {};
    }
    if (pattern.empty()) {
        std::string text = FormatGeneral(ToSingle(value));
        if (!text.empty() && text.front() == ' ') {
            text.erase(0, 1);
        }
        return text;
    }
    const Pattern p = ParsePattern(pattern);
    std::string intDigits;
    std::string fracDigits;
    RoundedDigits(ShortestDigits(std::fabs(value)), p.maxDecimals, intDigits, fracDigits);

    const bool isZero = intDigits.find_first_not_of('0') == std::string::npos &&
                        fracDigits.find_first_not_of('0') == std::string::npos;
    // Integer part: no digit for a zero integer unless the pattern asks for one.
    if (intDigits == "0") {
        intDigits.clear();
    }
    if (static_cast<int>(intDigits.size()) < p.minIntDigits) {
        intDigits.insert(0, static_cast<std::size_t>(p.minIntDigits) - intDigits.size(), '0');
    }
    if (p.grouping) {
        intDigits = Grouped(intDigits);
    }
    // Optional decimals are shown only while significant.
    while (static_cast<int>(fracDigits.size()) > p.minDecimals && fracDigits.back() == '0') {
        fracDigits.pop_back();
    }
    std::string number = intDigits;
    if (!fracDigits.empty()) {
        number += '.';
        number += fracDigits;
    }
    if (number.empty()) {
        number.assign(1, '0');
    }
    std::string out = p.prefix;
    if (value < 0 && !isZero) {
        out += '-';
    }
    out += number;
    out += p.suffix;
    return out;
}

} // namespace

std::string FormatNumber(double value, std::string_view pattern) {
    return FormatWithPattern(value, pattern);
}

std::string FormatNumber(float value, std::string_view pattern) {
    return FormatWithPattern(value, pattern);
}

std::string FormatGeneral(float value) {
    if (!std::isfinite(value)) {
        return {};
    }
    if (value == 0.0f) {
        return " 0";
    }
    const double magnitude = std::fabs(static_cast<double>(value));
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6e", magnitude); // d.dddddde±XX: seven significant digits
    std::string digits;
    digits += buf[0];
    digits.append(buf + 2, 6);
    const int exponent = std::atoi(buf + 9);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }

    std::string out = value < 0.0f ? "-" : " ";
    return out + PlaceDigits(digits, exponent, exponent >= 7 || exponent < -4, false);
}

namespace {

template <typename T>
std::string SignificantText(T value, int digits) {
    if (!std::isfinite(value) || digits < 1) {
        return {};
    }
    if (value == 0) {
        return "0";
    }
    DecimalDigits d = ShortestDigits(std::fabs(value));
    const auto keep = static_cast<std::size_t>(digits);
    if (d.digits.size() > keep) {
        RoundAt(d, keep);
        d.digits.resize(keep); // a carry added a digit in front: the last is a 0
    }
    while (d.digits.size() > 1 && d.digits.back() == '0') {
        d.digits.pop_back();
    }
    const int exponent = d.pointPos - 1;
    std::string out = value < 0 ? "-" : "";
    return out + PlaceDigits(d.digits, exponent, exponent < -4 || exponent >= digits, true);
}

// Fewer shown digits than this and the value falls back to the general form.
constexpr int kMinShownDigits = 2;
constexpr int kFallbackDigits = 4;

template <typename T>
std::string ReadableText(T value, std::string shown) {
    if (value != 0 && std::isfinite(value) && SignificantDigitsShown(shown) < kMinShownDigits) {
        return SignificantText(value, kFallbackDigits);
    }
    return shown;
}

} // namespace

int SignificantDigitsShown(std::string_view text) {
    int count = 0;
    bool started = false;
    for (char c : text) {
        if (c == 'E' || c == 'e') {
            break;
        }
        if (c < '0' || c > '9') {
            continue;
        }
        started = started || c != '0';
        count += started ? 1 : 0;
    }
    return count;
}

std::string FormatSignificant(double value, int digits) {
    return SignificantText(value, digits);
}

std::string FormatSignificant(float value, int digits) {
    return SignificantText(value, digits);
}

std::string FormatReadable(double value, std::string_view pattern) {
    return ReadableText(value, FormatWithPattern(value, pattern));
}

std::string FormatReadable(float value, std::string_view pattern) {
    return ReadableText(value, FormatWithPattern(value, pattern));
}

std::string Readable(double value, std::string shown) {
    return ReadableText(value, std::move(shown));
}

std::string Readable(float value, std::string shown) {
    return ReadableText(value, std::move(shown));
}

namespace {

// Characters after the first point; a pattern without a point counts its whole length.
std::size_t PlacesAfterPoint(std::string_view pattern) {
    const std::size_t point = pattern.find('.');
    return point == std::string_view::npos ? pattern.size() : pattern.size() - point - 1;
}

} // namespace

std::string AddDigit(std::string_view pattern) {
    std::string out(pattern);
    if (PlacesAfterPoint(pattern) < 6) {
        out += '0';
    }
    return out;
}

std::string SubDigit(std::string_view pattern) {
    std::string out(pattern);
    if (PlacesAfterPoint(pattern) >= 1) {
        out.pop_back();
    }
    return out;
}

} // namespace quorvane
