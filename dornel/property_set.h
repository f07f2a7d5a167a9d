#pragma once

// One property (enthalpy, entropy, volume or heat capacity) as Dadez provides it in each
// subregion, with its conversion to the current unit.

namespace dornel {

using SubregionFunction = double (*)(double, double);

struct PropertySet {
    SubregionFunction region1; // (θ, β)
    SubregionFunction region2; // (θ, β)
    SubregionFunction region3; // (θ, χ)
    SubregionFunction region4; // (θ, χ)
    double (*out)(double);     // reduced value to the current unit
};

extern const PropertySet kEnthalpy;
extern const PropertySet kEntropy;
extern const PropertySet kVolume;
extern const PropertySet kHeatCapacity;

// Saturated liquid and vapour values of one property at (θ, β) on the saturation line, from
// subregions 1 and 2 when `lowSubregions`, else from 4 and 3 (χ' from the liquid root and χ''
// from the vapour root). `failed` is set to the negative intermediate result of a failed root.
struct SaturatedPair {
    double liquid = 0;
    double vapour = 0;
    bool ok = true;
    double failed = 0;
};

SaturatedPair Saturated(const PropertySet& property, double theta, double beta, bool lowSubregions);

} // namespace dornel
