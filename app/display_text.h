#pragma once

// Numbers as the window shows them and reads them back.

#include <QString>
#include <optional>
#include <string_view>

namespace quorvane {

// The value in a display pattern ("##,##0.00"); empty for NaN and infinities. A non-zero value
// the pattern would show as 0 or with fewer than two significant digits is shown in the general
// form with four (FormatReadable).
QString FormatPattern(double value, const QString& pattern);
QString FormatPattern(double value, std::string_view pattern);
// Stored 32-bit values show the digits they hold (not those of their 64-bit widening).
QString FormatPattern(float value, const QString& pattern);
QString FormatPattern(float value, std::string_view pattern);

// The value with a fixed number of decimals in the user's locale ("0.7808"), or, when that
// would show it as 0 or with fewer than two significant digits, in the general form with four
// ("5E-07", "0.000314").
QString FormatFixed(double value, int decimals);

// The general single-precision form of the result grids (" .5").
QString FormatGeneralText(float value);

// A typed number: the program's own form ("1,234.5") or the user's locale. nullopt for text
// that is not a finite number.
std::optional<double> ParseNumber(const QString& text);

QString ToQString(std::string_view text);

} // namespace quorvane
