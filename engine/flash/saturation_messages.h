#pragma once

#include "engine/envelope/boundary_points.h"
#include "engine/envelope/mixture_envelope.h"

#include <span>
#include <string>

// What the user reads when there is no saturation point (or no state of the given vapour
// fraction) at the given temperature or pressure: why, in the terms of the mixture's phase
// envelope, and which points the mixture does have there. "No bubble point at 40 °F: this
// mixture's bubble curve ends at its critical point (−44.9 °F, 1377.8 psia); at 40 °F it has
// dew points at 3.197 and 2000.8 psia."

namespace quorvane {

std::string NoPointMessage(const envelope::EnvelopeMixture& mixture, std::span<const float> z,
                           const envelope::PointQuery& query);

// "This mixture has a second dew point at 40 °F: 2000.8 psia."
std::string OtherPointMessage(const envelope::PointQuery& query,
                              const envelope::BoundaryPoint& other);

// Numbers as the messages write them: temperatures to 0.1 °F, pressures to four or five
// significant digits.
std::string FormatTemperatureF(double tempF);
std::string FormatPressurePsia(double pressPsia);

} // namespace quorvane
