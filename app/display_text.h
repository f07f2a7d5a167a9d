#pragma once

// Numbers as the window shows them and reads them back.

#include <QString>
#include <optional>
#include <string_view>

namespace quorvane {

// The value in a display pattern ("##,##0.00"); empty for NaN and infinities.
QString FormatPattern(double value, const QString& pattern);
QString FormatPattern(double value, std::string_view pattern);
// Stored 32-bit values show the digits they hold (not those of their 64-bit widening).
QString FormatPattern(float value, const QString& pattern);
QString FormatPattern(float value, std::string_view pattern);

// The general single-precision form of the result grids (" .5").
QString FormatGeneralText(float value);

// A typed number: the program's own form ("1,234.5") or the user's locale. nullopt for text
// that is not a finite number.
std::optional<double> ParseNumber(const QString& text);

QString ToQString(std::string_view text);

} // namespace quorvane
