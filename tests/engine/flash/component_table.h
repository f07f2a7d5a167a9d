#pragma once

// Component constants for the engine tests and benchmarks, from the component database source
// data (components.csv: MW, Tc °F, Pc psia, Vc ft³/lb-mol, Zc, acentric factor, and the
// vapour-pressure set C1..C5 with its equation code; the sources are the published tables the
// database collects). Build a flash case from names and feed mole fractions.

#include "engine/eos/eos_choice.h"
#include "engine/flash/flash_case.h"

#include <array>
#include <cstdint>
#include <stdexcept>
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

// clang-format off
inline constexpr std::array<TestComponent, 33> kComponents = {{
    {"NITROGEN", 28.0134F, -232.5244F, 492.5191498F, 1.432278845F, 0.2893895339F, 0.0372F, {58.282F, -1084.1F, -8.3144F, 0.044127F, 1.0F}, 6},
    {"CARBON DIOXIDE", 44.0095F, 87.76076F, 1069.986903F, 1.507633377F, 0.2745879401F, 0.22394F, {140.54F, -4735.0F, -21.268F, 0.040909F, 1.0F}, 6},
    {"METHANE", 16.04246F, -116.6548F, 667.0575634F, 1.579865978F, 0.2862903072F, 0.01142F, {39.205F, -1324.4F, -3.4366F, 3.1019e-05F, 2.0F}, 6},
    {"ETHANE", 30.06904F, 89.9096F, 706.6528658F, 2.336113182F, 0.2799019031F, 0.0995F, {51.857F, -2598.7F, -5.1283F, 1.4913e-05F, 2.0F}, 6},
    {"PROPANE", 44.09562F, 206.132F, 616.5844307F, 3.203692674F, 0.276461562F, 0.1521F, {59.078F, -3492.6F, -6.0669F, 1.0919e-05F, 2.0F}, 6},
    {"ISOBUTANE", 58.1222F, 274.388F, 526.3419502F, 4.128728744F, 0.2758610663F, 0.184F, {108.43F, -5039.9F, -15.012F, 0.022725F, 1.0F}, 6},
    {"n-BUTANE", 58.1222F, 305.555F, 550.5632524F, 4.083457595F, 0.2737679294F, 0.201F, {66.343F, -4363.2F, -7.046F, 9.4509e-06F, 2.0F}, 6},
    {"ISOPENTANE", 72.14878F, 368.96F, 489.9374781F, 4.897115063F, 0.2698092089F, 0.2274F, {71.308F, -4976.0F, -7.7169F, 8.7271e-06F, 2.0F}, 6},
    {"n-PENTANE", 72.14878F, 385.79F, 488.4145818F, 4.990175505F, 0.2686258649F, 0.251F, {78.741F, -5420.3F, -8.8253F, 9.6171e-06F, 2.0F}, 6},
    {"n-HEXANE", 86.17536F, 454.406F, 441.5093774F, 5.919609523F, 0.2664324612F, 0.3F, {104.65F, -6995.5F, -12.702F, 1.2381e-05F, 2.0F}, 6},
    {"n-HEPTANE", 100.202F, 512.69F, 396.7840903F, 6.874876983F, 0.2614138221F, 0.349F, {87.829F, -6996.4F, -9.8802F, 7.2099e-06F, 2.0F}, 6},
    {"n-OCTANE", 114.2285F, 564.062F, 360.2142751F, 7.886983442F, 0.2585961295F, 0.398F, {96.084F, -7900.2F, -11.003F, 7.1802e-06F, 2.0F}, 6},
    {"n-NONANE", 128.2551F, 610.52F, 330.8310798F, 8.849979762F, 0.254931876F, 0.4433F, {109.35F, -9030.4F, -12.882F, 7.8544e-06F, 2.0F}, 6},
    {"n-DECANE", 142.2817F, 652.19F, 305.0143625F, 9.767355713F, 0.2496799325F, 0.4884F, {112.73F, -9749.6F, -13.245F, 7.1266e-06F, 2.0F}, 6},
    {"HYDROGEN SULFIDE", 34.08088F, 211.91F, 1305.33964F, 1.571978741F, 0.2847140449F, 0.1005F, {85.584F, -3839.9F, -11.199F, 0.018848F, 1.0F}, 6},
    {"WATER", 18.01528F, 705.1028F, 3200.112645F, 0.8962015856F, 0.2294384521F, 0.3443F, {73.649F, -7258.2F, -7.3037F, 4.1653e-06F, 2.0F}, 6},
    {"BENZENE", 78.11184F, 551.966F, 711.7403545F, 4.106245417F, 0.2692022387F, 0.211F, {83.107F, -6486.2F, -9.2194F, 6.9844e-06F, 2.0F}, 6},
    {"TOLUENE", 92.13843F, 605.48F, 598.4692172F, 5.054737573F, 0.2646464722F, 0.2657F, {76.945F, -6729.8F, -8.179F, 5.3017e-06F, 2.0F}, 6},
    {"ETHYLENE", 28.05316F, 48.56F, 731.2512661F, 2.097545402F, 0.2812251483F, 0.0866F, {53.963F, -2443.0F, -5.5643F, 1.9079e-05F, 2.0F}, 6},
    {"PROPYLENE", 42.07974F, 195.9098F, 660.6468954F, 2.935397356F, 0.2756431372F, 0.146F, {43.905F, -3097.8F, -3.4425F, 9.9989e-17F, 6.0F}, 6},
    {"CYCLOHEXANE", 84.15948F, 536.81F, 591.8264888F, 4.968506008F, 0.2749717531F, 0.2096F, {51.087F, -5226.4F, -4.2278F, 9.7554e-18F, 6.0F}, 6},
    {"n-UNDECANE", 156.3083F, 690.17F, 288.6831132F, 10.5739411F, 0.2473758531F, 0.539F, {131.0F, -11143.0F, -15.855F, 8.1871e-06F, 2.0F}, 6},
    {"n-DODECANE", 170.3348F, 724.91F, 263.5335695F, 12.04395742F, 0.2496762371F, 0.574F, {137.47F, -11976.0F, -16.698F, 8.0906e-06F, 2.0F}, 6},
    {"OXYGEN", 31.9988F, -181.4242F, 731.4253114F, 1.175235757F, 0.2878742469F, 0.0222F, {51.245F, -1200.2F, -6.4361F, 0.028405F, 1.0F}, 6},
    {"ARGON", 39.948F, -188.4334F, 705.3185186F, 1.194745286F, 0.2895001353F, -0.00219F, {42.127F, -1093.1F, -4.1425F, 5.7254e-05F, 2.0F}, 6},
    {"HYDROGEN", 2.01588F, -400.009F, 188.0269232F, 1.032916132F, 0.3033409354F, -0.219F, {12.69F, -94.896F, 1.1125F, 0.00032915F, 2.0F}, 6},
    {"CARBON MONOXIDE", 28.0101F, -220.522F, 506.7618556F, 1.476356071F, 0.2915175661F, 0.0497F, {45.698F, -1076.6F, -4.8814F, 7.5673e-05F, 2.0F}, 6},
    {"1-BUTENE", 56.10632F, 295.052F, 580.8906434F, 3.777939474F, 0.2709560283F, 0.192F, {51.836F, -4019.2F, -4.5229F, 4.8833e-17F, 6.0F}, 6},
    {"CYCLOPENTANE", 70.1329F, 461.426F, 664.6789445F, 4.086342696F, 0.2747756609F, 0.202F, {66.341F, -5198.5F, -6.8103F, 6.193e-06F, 2.0F}, 6},
    {"ETHYLBENZENE", 106.165F, 651.146F, 525.3847012F, 5.843987547F, 0.2575615488F, 0.305F, {89.063F, -7733.7F, -9.917F, 5.986e-06F, 2.0F}, 6},
    {"o-XYLENE", 106.165F, 674.7962F, 542.0785448F, 5.967019322F, 0.2656834805F, 0.312F, {90.405F, -7955.2F, -10.086F, 5.9594e-06F, 2.0F}, 6},
    {"n-TETRADECANE", 198.388F, 787.73F, 227.7092482F, 14.32050625F, 0.244F, 0.644F, {140.47F, -13231.0F, -16.859F, 6.5877e-06F, 2.0F}, 6},
    {"n-HEXADECANE", 226.4412F, 841.73F, 203.0528328F, 16.56309112F, 0.241F, 0.749F, {156.06F, -15015.0F, -18.941F, 6.8172e-06F, 2.0F}, 6},
}};
// clang-format on

inline const TestComponent& Component(std::string_view name) {
    for (const auto& c : kComponents) {
        if (c.name == name) {
            return c;
        }
    }
    throw std::invalid_argument(std::string("no test component ") + std::string(name));
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
    c.eosText = std::string(eosText);
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
