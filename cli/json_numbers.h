#pragma once

#include <nlohmann/json.hpp>

// Numbers of a response. Results stored in 32 bits are written with the shortest digits that
// read back to the same 32-bit value (0.3f as 0.3, not 0.30000001192092896); a value that is
// not finite is written as null, never as a number.

namespace quorvane {

nlohmann::ordered_json SingleNumber(float value);
nlohmann::ordered_json DoubleNumber(double value);

} // namespace quorvane
