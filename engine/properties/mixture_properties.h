#pragma once

// The property driver: thermodynamic and transport properties of the feed, the vapour and the
// liquid at the state of the last flash.

#include "engine/flash/flash_case.h"
#include "engine/properties/property_components.h"
#include "engine/properties/property_results.h"

#include <span>
#include <string>
#include <vector>

namespace quorvane {

// Evaluates the properties of the three streams of the flash case into `results`: every
// property, or the groups `selection` names (with what they are made from; the others are not
// computed).
//
// componentRows: one database row per component in mixture order, indexed by ordinal, NaN for
// an empty or text cell. componentNames: the component names (ordinal 1) in the same order;
// a missing name uses the generic constants of the gas-viscosity estimate.
//
// The vapour is present when the vapour fraction is not 0 and the liquid when it is not 1
// (exact comparisons). Feed mole fractions below 1e-7 are raised to 1e-7 in the flash case.
//
// Up to and including the heat-capacity ratios a failing evaluation (non-finite arithmetic,
// a root-finder failure) is stepped over: its target keeps its previous value and the
// calculation goes on. A failure of the surface tension, which comes last, throws
// PropertyError. A mixture whose arrays do not match its component count throws
// MixtureSizeError before anything is changed. With no components nothing is done.
void CalculateMixtureProperties(FlashCase& flashCase,
                                const std::vector<std::vector<double>>& componentRows,
                                std::span<const std::string> componentNames,
                                PropertyResults& results,
                                PropertySelection selection = PropertySelection::All());

// The same from the components' constants prepared once (from the case's component data, its
// rows and names): a batch of one mixture at many states prepares them once. Throws
// MixtureSizeError when they are not those of the case. Allocates nothing unless a value
// fails and its note is written.
void CalculateMixtureProperties(FlashCase& flashCase, const PropertyComponents& components,
                                PropertyResults& results,
                                PropertySelection selection = PropertySelection::All());

} // namespace quorvane
