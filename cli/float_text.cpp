#include "cli/float_text.h"

#include <array>
#include <bit>
#include <charconv>
#include <cstdint>

// A float is m·2^E (m an integer of 24 bits) and stands for every real number of its rounding
// interval, from halfway to its lower neighbour to halfway to its upper one (both ends
// included when m is even). The shortest text names the number of that interval with the
// fewest significant digits, the nearest to m·2^E among those, ties to even. Scaled by a power
// of ten, the interval's ends and the value become integers of ten or eleven digits, computed
// exactly with one 64-bit product and a shift; removing trailing digits while the interval
// still holds a number ending in them leaves the shortest digits (the digit removal of the
// published shortest-conversion methods). Values outside that scaling's range (below 2^-24,
// about 6e-8, at or above 2^24, zero, not finite) take the general conversion.

namespace quorvane {

namespace {

constexpr std::uint64_t Pow(std::uint64_t base, int exponent) {
    std::uint64_t result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= base;
    }
    return result;
}

// The binary exponents E (of the interval's quarter units, see below) the fast way takes.
constexpr int kLeastExponent = -49;
constexpr int kGreatestExponent = -2;

// For E in that range, the decimal exponent q = k - 1 with 10^k the greatest power of ten not
// above 2^E: the scale 2^E/10^q then lies in [10, 100), so the scaled value has at least one
// digit below the interval's width to remove. Stored as -q (2..20).
constexpr std::array<int, 64> kScaleDigits = [] {
    std::array<int, 64> digits{};
    for (int e = -kGreatestExponent; e <= -kLeastExponent; ++e) {
        int j = 0; // the least j with 10^j >= 2^e
        while (Pow(10, j) < (std::uint64_t{1} << e)) {
            ++j;
        }
        digits[static_cast<std::size_t>(e)] = j + 1;
    }
    return digits;
}();

// base^0 .. base^(count - 1).
template <std::uint64_t Base, std::size_t Count>
constexpr std::array<std::uint64_t, Count> kPowers = [] {
    std::array<std::uint64_t, Count> powers{};
    for (std::size_t i = 0; i < Count; ++i) {
        powers[i] = Pow(Base, static_cast<int>(i));
    }
    return powers;
}();

constexpr const std::array<std::uint64_t, 21>& kPow5 = kPowers<5, 21>;

struct Decimal {
    std::uint64_t digits = 0;
    int exponent = 0; // the value is digits·10^exponent
};

// floor(x·2^E/10^q) = floor(x·5^-q / 2^(q-E)), and whether that is exact. x < 2^26 and
// 5^-q <= 5^16 < 2^38 in the fast range: the product fits 64 bits.
std::uint64_t Scaled(std::uint64_t x, std::uint64_t pow5, int shift, bool& exact) {
    const std::uint64_t product = x * pow5;
    exact = (product & ((std::uint64_t{1} << shift) - 1)) == 0;
    return product >> shift;
}

// The shortest decimal of a positive float with the given bits, when its exponent is in the
// fast range.
bool ShortestDecimal(std::uint32_t bits, Decimal& out) {
    const std::uint32_t fraction = bits & 0x7FFFFFU;
    const std::uint32_t biased = bits >> 23;
    if (biased == 0 || biased == 0xFF) {
        return false;
    }
    // The interval in quarter units 2^E: the value mv, its ends mm and mp (the lower gap is
    // half as wide at a power of two).
    const int e = static_cast<int>(biased) - 127 - 23 - 2;
    if (e < kLeastExponent || e > kGreatestExponent) {
        return false;
    }
    const std::uint64_t m = fraction | (1U << 23);
    const bool acceptBounds = (m & 1U) == 0;
    const std::uint64_t mv = 4 * m;
    const std::uint64_t mp = mv + 2;
    const std::uint64_t mm = mv - (fraction != 0 || biased <= 1 ? 2 : 1);

    const int minusQ = kScaleDigits[static_cast<std::size_t>(-e)];
    const std::uint64_t pow5 = kPow5[static_cast<std::size_t>(minusQ)];
    const int shift = -minusQ - e; // q - E, not negative in the fast range
    bool vrExact = false;
    bool vmExact = false;
    bool vpExact = false;
    std::uint64_t vr = Scaled(mv, pow5, shift, vrExact);
    std::uint64_t vm = Scaled(mm, pow5, shift, vmExact);
    std::uint64_t vp = Scaled(mp, pow5, shift, vpExact);
    bool vmTrailingZeros = acceptBounds && vmExact; // the lower end is a candidate
    bool vrTrailingZeros = vrExact;                 // the digits removed from vr were all 0
    if (!acceptBounds && vpExact) {
        --vp; // the upper end is not a candidate
    }

    int removed = 0;
    std::uint64_t lastRemoved = 0;
    // Removes the last digit of the three, keeping track of what vr loses.
    const auto removeDigit = [&] {
        vrTrailingZeros = vrTrailingZeros && lastRemoved == 0;
        lastRemoved = vr % 10;
        vr /= 10;
        vp /= 10;
        vm /= 10;
        ++removed;
    };
    if (vmTrailingZeros || vrTrailingZeros) {
        while (vp / 10 > vm / 10) {
            vmTrailingZeros = vmTrailingZeros && vm % 10 == 0;
            removeDigit();
        }
        if (vmTrailingZeros) {
            while (vm % 10 == 0) {
                removeDigit();
            }
        }
        if (vrTrailingZeros && lastRemoved == 5 && vr % 2 == 0) {
            lastRemoved = 4; // exactly half: to even
        }
        const bool up = (vr == vm && (!acceptBounds || !vmTrailingZeros)) || lastRemoved >= 5;
        out.digits = vr + (up ? 1 : 0);
    } else {
        while (vp / 10 > vm / 10) {
            lastRemoved = vr % 10;
            vr /= 10;
            vp /= 10;
            vm /= 10;
            ++removed;
        }
        out.digits = vr + (vr == vm || lastRemoved >= 5 ? 1 : 0);
    }
    out.exponent = removed - minusQ;
    return true;
}

constexpr const std::array<std::uint64_t, 20>& kPow10 = kPowers<10, 20>;

int DigitCount(std::uint64_t v) {
    int count = 1;
    while (count < 20 && v >= kPow10[static_cast<std::size_t>(count)]) {
        ++count;
    }
    return count;
}

// "00" to "99".
constexpr std::array<char, 200> kTwoDigits = [] {
    std::array<char, 200> digits{};
    for (int i = 0; i < 100; ++i) {
        digits[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        digits[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return digits;
}();

// The digits of v, most significant first, into out[0..count).
void WriteDigits(char* out, std::uint64_t v, int count) {
    int i = count;
    while (i >= 2) {
        const auto pair = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        i -= 2;
        out[i] = kTwoDigits[pair];
        out[i + 1] = kTwoDigits[pair + 1];
    }
    if (i == 1) {
        out[0] = static_cast<char>('0' + v);
    }
}

} // namespace

char* WriteShortestFloat(char* out, float value) {
    const auto bits = std::bit_cast<std::uint32_t>(value);
    Decimal d;
    if (!ShortestDecimal(bits & 0x7FFFFFFFU, d)) {
        constexpr int kMost = 15;
        return std::to_chars(out, out + kMost, value).ptr;
    }
    if ((bits >> 31) != 0) {
        *out++ = '-';
    }
    const int length = DigitCount(d.digits);
    const int scientificExponent = d.exponent + length - 1;
    // The shorter notation, fixed on a tie; the scientific exponent has two digits here.
    const int fixedLength = d.exponent >= 0           ? length + d.exponent
                            : scientificExponent >= 0 ? length + 1
                                                      : length + 1 - scientificExponent;
    const int scientificLength = length + (length > 1 ? 1 : 0) + 4;
    if (fixedLength <= scientificLength) {
        if (d.exponent >= 0) {
            WriteDigits(out, d.digits, length);
            out += length;
            for (int i = 0; i < d.exponent; ++i) {
                *out++ = '0';
            }
        } else if (scientificExponent >= 0) {
            const int whole = scientificExponent + 1;
            WriteDigits(out, d.digits / kPow10[static_cast<std::size_t>(length - whole)], whole);
            out += whole;
            *out++ = '.';
            WriteDigits(out, d.digits % kPow10[static_cast<std::size_t>(length - whole)],
                        length - whole);
            out += length - whole;
        } else {
            *out++ = '0';
            *out++ = '.';
            for (int i = 0; i < -scientificExponent - 1; ++i) {
                *out++ = '0';
            }
            WriteDigits(out, d.digits, length);
            out += length;
        }
        return out;
    }
    WriteDigits(out, d.digits / kPow10[static_cast<std::size_t>(length - 1)], 1);
    ++out;
    if (length > 1) {
        *out++ = '.';
        WriteDigits(out, d.digits % kPow10[static_cast<std::size_t>(length - 1)], length - 1);
        out += length - 1;
    }
    *out++ = 'e';
    *out++ = scientificExponent < 0 ? '-' : '+';
    const int magnitude = scientificExponent < 0 ? -scientificExponent : scientificExponent;
    *out++ = static_cast<char>('0' + magnitude / 10);
    *out++ = static_cast<char>('0' + magnitude % 10);
    return out;
}

} // namespace quorvane
