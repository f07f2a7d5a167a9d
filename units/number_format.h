#pragma once

// Number formatting for display.
//
// FormatNumber applies a display pattern of the number-format table: "0" is a digit always
// shown, "#" a digit shown only when significant, "," groups thousands, "." is the decimal
// point. The number of places after the point is the number of decimals the value is rounded
// to. Rounding works on the shortest decimal digits that read back as the value, half away from
// zero: a 32-bit value shows the digits it holds (1234.567f with six decimals is
// "1234.567000", not the "1234.567017" of its 64-bit widening) and 2.675 rounds to "2.68".
// After the point at least as many decimals are shown as the pattern has "0" places there, and
// more, up to all its places, only while significant: "#0.###0" shows 0.5 as "0.5", 1.23456 as
// "1.2346" and 2 as "2.0". Before the point the "0" count is the minimum number of digits (".5"
// for "#.######"); a value that shows no digit at all shows "0". A point with no decimal shown
// is dropped. A value that rounds to zero shows no minus sign. Other characters before the
// first or after the last digit place are copied as they stand. An empty pattern gives the
// general form without its leading blank. NaN and infinities give "".
//
// FormatGeneral is the general single-precision text form of the report and result grids:
// seven significant digits, a leading blank for non-negative numbers and "-" otherwise, no
// leading zero before the point (0.5 -> " .5"), trailing zeros and a bare point dropped
// (" 100"), zero as " 0". Magnitudes from 1E+07 up (after rounding to seven digits) and below
// 1E-04 take the exponent form with a two-digit signed exponent: " 1.234568E+07", " 5E-07",
// "-2.5E-05". NaN and infinities give "".

#include <string>
#include <string_view>

namespace quorvane {

std::string FormatNumber(double value, std::string_view pattern);
std::string FormatNumber(float value, std::string_view pattern); // the stored 32-bit values

std::string FormatGeneral(float value);

// The digits a formatted number shows from its first non-zero digit on, up to an exponent:
// "0.0" shows 0, "0.04" 1, "1,200" 4, "6.9E-06" 2.
int SignificantDigitsShown(std::string_view text);

// The general form with `digits` significant digits, rounded half away from zero on the
// value's shortest digits; trailing zeros and a bare point dropped, a leading zero kept:
// 0.0023456 -> "0.002346", 5 -> "5", -6.9e-6 -> "-6.9E-06". Exponent form (two-digit signed
// exponent) for magnitudes below 1E-04 and from 10^digits up. Zero gives "0"; NaN and
// infinities give "".
std::string FormatSignificant(double value, int digits);
std::string FormatSignificant(float value, int digits);

// FormatNumber for display: a non-zero value that the pattern would show as zero or with
// fewer than two significant digits (a K-value of 6.9E-06 under "###.####", a surface tension
// of 0.0014 under "#0.0") is shown by FormatSignificant with four digits instead, so that no
// small value reads as 0 or loses all precision. Every other value keeps its pattern.
std::string FormatReadable(double value, std::string_view pattern);
std::string FormatReadable(float value, std::string_view pattern);

// The same rule for a value some other fixed format has already written as `shown`: `shown`
// itself, or FormatSignificant with four digits when it shows too little of the value.
std::string Readable(double value, std::string shown);
std::string Readable(float value, std::string shown);

// The pattern after the toolbar's add-digit and remove-digit commands: AddDigit appends "0"
// while fewer than 6 characters follow the first "."; SubDigit drops the last character while
// at least one follows the first "." (a pattern without a point counts its whole length).
std::string AddDigit(std::string_view pattern);
std::string SubDigit(std::string_view pattern);

} // namespace quorvane
