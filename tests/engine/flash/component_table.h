#pragma once

// Component constants for the engine tests and benchmarks, read from the bundled component table
// (data/components.csv) when the tests run: MW, Tc °F, Pc psia, Vc ft³/lb-mol, Zc, acentric
// factor, and the vapour-pressure set C1..C5 with its equation code. Build a flash case from
// names and feed mole fractions.

#include "common/precision.h"
#include "engine/eos/eos_choice.h"
#include "engine/flash/flash_case.h"
#include "tests/support/component_data.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::testdata {

struct TestComponent {
    std::string_view name;
    float mw, tcF, pcPsia, vc, zc, w;
    std::array<float, 5> c;
    std::int16_t code;
};

// The component of that name, its numbers held in 32 bits as the mixture holds them. Throws
// std::invalid_argument for a name the table does not hold.
inline const TestComponent& Component(std::string_view name) {
    static std::map<std::string, TestComponent, std::less<>> cache;
    if (const auto it = cache.find(name); it != cache.end()) {
        return it->second;
    }
    const testing::ComponentData& row = testing::BundledComponent(name);
    const auto cell = [&](std::size_t ordinal) { return ToSingle(row.cells.at(ordinal)); };
    TestComponent c{row.name,
                    cell(2),
                    cell(3),
                    cell(4),
                    cell(5),
                    cell(6),
                    cell(17),
                    {cell(19), cell(20), cell(21), cell(22), cell(23)},
                    static_cast<std::int16_t>(row.cells.at(26))};
    return cache.emplace(std::string(name), c).first->second;
}

// A flash case of the named components and feed (kij zero), equation of state by list text.
inline FlashCase MakeCase(const std::vector<std::string_view>& names, const std::vector<float>& z,
                          std::string_view eosText = "PR") {
    FlashCase c;
    c.n = static_cast<std::int16_t>(names.size());
    c.z = z;
    for (auto name : names) {
        const auto& comp = Component(name);
        c.tcF.push_back(comp.tcF);
        c.pcPsia.push_back(comp.pcPsia);
        c.w.push_back(comp.w);
        c.vc.push_back(comp.vc);
        c.zc.push_back(comp.zc);
        c.vapourPressure.push_back(VapourPressureSet{comp.c, comp.code});
    }
    c.kij = ZeroKijTable(c.n);
    c.eosIndex = EosListIndex(eosText).value_or(-1);
    return c;
}

// Molar masses of the named components, in order.
inline std::vector<float> MolarMasses(const std::vector<std::string_view>& names) {
    std::vector<float> mw;
    for (auto name : names) {
        mw.push_back(Component(name).mw);
    }
    return mw;
}

// The natural gas of the benchmarks: N2, CO2 and methane to n-decane (ten components).
inline const std::vector<std::string_view> kNaturalGasNames = {
    "NITROGEN", "CARBON DIOXIDE", "METHANE",  "ETHANE",    "PROPANE",
    "n-BUTANE", "n-PENTANE",      "n-HEXANE", "n-HEPTANE", "n-DECANE"};

inline FlashCase NaturalGas(std::string_view eosText = "PR") {
    return MakeCase(kNaturalGasNames,
                    {0.01F, 0.02F, 0.80F, 0.06F, 0.04F, 0.03F, 0.02F, 0.01F, 0.006F, 0.004F},
                    eosText);
}

inline FlashCase MethaneButane(float methane = 0.5F, std::string_view eosText = "PR") {
    return MakeCase({"METHANE", "n-BUTANE"}, {methane, 1.0F - methane}, eosText);
}

// Twenty-five components: light gases, paraffins to n-hexadecane, aromatics and naphthenes.
inline FlashCase TwentyFive(std::string_view eosText = "PR") {
    const std::vector<std::string_view> names = {
        "NITROGEN",   "CARBON DIOXIDE", "HYDROGEN SULFIDE", "METHANE",      "ETHANE",
        "PROPANE",    "ISOBUTANE",      "n-BUTANE",         "ISOPENTANE",   "n-PENTANE",
        "n-HEXANE",   "n-HEPTANE",      "n-OCTANE",         "n-NONANE",     "n-DECANE",
        "n-UNDECANE", "n-DODECANE",     "n-TETRADECANE",    "n-HEXADECANE", "BENZENE",
        "TOLUENE",    "ETHYLBENZENE",   "o-XYLENE",         "CYCLOPENTANE", "CYCLOHEXANE"};
    std::vector<float> z = {0.01F,  0.015F, 0.005F, 0.55F,  0.08F,  0.05F,  0.02F, 0.03F,  0.015F,
                            0.02F,  0.025F, 0.02F,  0.018F, 0.015F, 0.012F, 0.01F, 0.008F, 0.006F,
                            0.004F, 0.008F, 0.008F, 0.005F, 0.005F, 0.006F, 0.0F};
    float sum = 0.0F;
    for (float v : z) {
        sum += v;
    }
    z.back() = 1.0F - sum;
    return MakeCase(names, z, eosText);
}

} // namespace quorvane::testdata
