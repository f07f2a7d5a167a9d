#include "cli/flash_service.h"
#include "cli/request_error.h"
#include "common/precision.h"
#include "tests/cli/bundled_components.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace quorvane {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

json ReadExample(const char* name) {
    std::ifstream file(std::string(QUORVANE_SOURCE_DIR "/examples/") + name);
    return json::parse(file, nullptr, true, true);
}

// Methane and n-butane with only the data the flash needs; "vf" is given (and valid) for
// every flash type.
json Binary(const char* flash) {
    return {{"eos", "PR"},
            {"flash", flash},
            {"T_F", 40.0},
            {"P_psia", 500.0},
            {"vf", 0.5},
            {"components", {testing::FlashFieldsOf("METHANE"), testing::FlashFieldsOf("n-BUTANE")}},
            {"z", {0.5, 0.5}}};
}

std::vector<double> Numbers(const ordered_json& array) {
    return array.get<std::vector<double>>();
}

// The service, its text answers read back.
class Service {
public:
    ordered_json Answer(const json& request) const {
        return ordered_json::parse(m_service.Answer(request));
    }
    ordered_json Answer(std::string_view text) const {
        return ordered_json::parse(m_service.Answer(text));
    }

private:
    FlashService m_service{nullptr};
};

class FlashServiceTest : public ::testing::Test {
protected:
    Service service;
};

TEST_F(FlashServiceTest, NaturalGasExampleAnswersEveryFieldInOrder) {
    const ordered_json response = service.Answer(ReadExample("natural_gas_tp.json"));
    std::vector<std::string> keys;
    for (const auto& item : response.items()) {
        keys.push_back(item.key());
    }
    const std::vector<std::string> expected{
        "flash", "eos", "T_F", "P_psia",     "vf",        "x",        "y",
        "K",     "Z_L", "Z_V", "iterations", "converged", "residual", "properties"};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(response["flash"], "TP");
    EXPECT_EQ(response["eos"], "PR");
    EXPECT_EQ(response["T_F"], 40.0);
    EXPECT_EQ(response["P_psia"], 800.0);
    EXPECT_TRUE(response["converged"].get<bool>());
    EXPECT_FALSE(response.contains("warning"));
}

TEST_F(FlashServiceTest, TwoPhaseAnswerClosesTheMaterialBalance) {
    const ordered_json response = service.Answer(Binary("TP"));
    const double v = response["vf"];
    ASSERT_GT(v, 0.0);
    ASSERT_LT(v, 1.0);
    const std::vector<double> x = Numbers(response["x"]);
    const std::vector<double> y = Numbers(response["y"]);
    const std::vector<double> k = Numbers(response["K"]);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(v * y[i] + (1 - v) * x[i], 0.5, 1e-5) << i;
        EXPECT_NEAR(k[i], y[i] / x[i], 1e-5 * k[i]) << i;
    }
    EXPECT_GT(response["Z_V"].get<double>(), response["Z_L"].get<double>());
}

TEST_F(FlashServiceTest, SaturationRunsReportTheFixedVapourFractions) {
    const ordered_json bubble = service.Answer(Binary("BUBP"));
    EXPECT_EQ(bubble["vf"], 1e-08);
    const ordered_json dew = service.Answer(Binary("DEWP"));
    EXPECT_EQ(dew["vf"], 0.9999999);
    // The computed pressures bracket the two-phase flash at 500 psia.
    EXPECT_GT(bubble["P_psia"].get<double>(), 500.0);
    EXPECT_LT(dew["P_psia"].get<double>(), 500.0);
    EXPECT_EQ(bubble["x"], ordered_json({0.5, 0.5})); // the liquid is the feed
}

TEST_F(FlashServiceTest, VapourFractionRunKeepsTheGivenFraction) {
    const ordered_json response = service.Answer(Binary("PV"));
    EXPECT_DOUBLE_EQ(response["vf"].get<double>(), 0.5);
    EXPECT_EQ(response["P_psia"], 500.0);
    // The computed temperature lies between the bubble and dew points at 500 psia.
    const double tempF = response["T_F"];
    EXPECT_GT(tempF, service.Answer(Binary("BUBT"))["T_F"].get<double>());
    EXPECT_LT(tempF, service.Answer(Binary("DEWT"))["T_F"].get<double>());
}

std::vector<std::string> KeysOf(const ordered_json& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) {
        keys.push_back(item.key());
    }
    return keys;
}

TEST_F(FlashServiceTest, TwoPhasePropertiesBelongToTheirStreams) {
    const ordered_json response = service.Answer(ReadExample("natural_gas_tp.json"));
    const ordered_json& properties = response.at("properties");
    EXPECT_EQ(KeysOf(properties), (std::vector<std::string>{"feed", "vapour", "liquid", "notes"}));
    EXPECT_TRUE(properties["notes"].empty());
    const std::vector<std::string> common{"MW",      "Vc",    "Tc_F",      "Pc_psia",     "Z",
                                          "density", "Cp",    "H",         "S",           "CpCv",
                                          "JT",      "sound", "viscosity", "conductivity"};
    std::vector<std::string> phaseKeys = common;
    phaseKeys.push_back("residual");
    EXPECT_EQ(KeysOf(properties["feed"]), phaseKeys);
    EXPECT_EQ(KeysOf(properties["vapour"]), phaseKeys);
    std::vector<std::string> liquidKeys = common;
    liquidKeys.insert(liquidKeys.end(), {"heat_of_vaporization", "surface_tension", "residual"});
    EXPECT_EQ(KeysOf(properties["liquid"]), liquidKeys);

    // Transport properties do not apply to the feed; both phases have every value.
    for (const char* key : {"JT", "sound", "viscosity", "conductivity"}) {
        EXPECT_TRUE(properties["feed"][key].is_null()) << key;
    }
    for (const char* phase : {"vapour", "liquid"}) {
        for (const auto& item : properties[phase].items()) {
            if (item.key() != "residual") {
                EXPECT_TRUE(item.value().is_number()) << phase << "." << item.key();
            }
        }
    }
    EXPECT_EQ(properties["vapour"]["Z"], response["Z_V"]);
    EXPECT_EQ(properties["liquid"]["Z"], response["Z_L"]);
    // The feed enthalpy is the vapour-fraction weighted enthalpy of its phases.
    const double v = response["vf"];
    const double h = v * properties["vapour"]["H"].get<double>() +
                     (1 - v) * properties["liquid"]["H"].get<double>();
    EXPECT_NEAR(properties["feed"]["H"].get<double>(), h, 1e-5 * std::abs(h));
    EXPECT_LT(properties["liquid"]["residual"]["H"].get<double>(),
              properties["vapour"]["residual"]["H"].get<double>());
}

TEST_F(FlashServiceTest, SuperheatedFeedHasNoLiquidProperties) {
    json request = Binary("TP");
    request["T_F"] = 400.0;
    request["P_psia"] = 50.0;
    const ordered_json response = service.Answer(request);
    ASSERT_EQ(response["vf"], 1.0);
    const ordered_json& properties = response["properties"];
    for (const auto& item : properties["liquid"].items()) {
        if (item.key() == "residual") {
            for (const auto& departure : item.value().items()) {
                EXPECT_TRUE(departure.value().is_null()) << departure.key();
            }
        } else {
            EXPECT_TRUE(item.value().is_null()) << item.key();
        }
    }
    for (const char* key : {"MW", "Z", "density", "H", "S", "Cp"}) {
        EXPECT_EQ(properties["feed"][key], properties["vapour"][key]) << key;
    }
    // A nearly ideal gas: small departures.
    EXPECT_GT(properties["vapour"]["Z"].get<double>(), 0.97);
    EXPECT_LT(std::abs(properties["vapour"]["residual"]["H"].get<double>()), 100.0);
}

TEST_F(FlashServiceTest, PropertiesWithoutTheirDataAreNull) {
    // The binary carries only what the flash needs: no ideal-gas heat capacity, reference
    // enthalpy and entropy or boiling point. The departures need nothing more.
    const ordered_json response = service.Answer(Binary("TP"));
    const ordered_json& properties = response.at("properties");
    for (const char* stream : {"feed", "vapour", "liquid"}) {
        for (const char* key : {"Cp", "H", "S", "CpCv", "JT", "sound"}) {
            EXPECT_TRUE(properties[stream][key].is_null()) << stream << "." << key;
        }
        for (const char* key : {"MW", "Z", "density"}) {
            EXPECT_TRUE(properties[stream][key].is_number()) << stream << "." << key;
        }
        EXPECT_TRUE(properties[stream]["residual"]["H"].is_number()) << stream;
    }
    EXPECT_TRUE(properties["liquid"]["surface_tension"].is_null());
    EXPECT_TRUE(properties["liquid"]["heat_of_vaporization"].is_null());
    EXPECT_TRUE(properties["vapour"]["viscosity"].is_number());

    // With those fields given, every value is there.
    json complete = Binary("TP");
    const json example = ReadExample("natural_gas_tp.json");
    complete["components"][0] = example["components"][2]; // methane
    complete["components"][1] = example["components"][5]; // n-butane
    const ordered_json full = service.Answer(complete).at("properties");
    EXPECT_TRUE(full["liquid"]["H"].is_number());
    EXPECT_TRUE(full["liquid"]["surface_tension"].is_number());
    EXPECT_TRUE(full["feed"]["Cp"].is_number());
}

// A coefficient set that gives no value at the flash temperature leaves every value made from
// it null, and the note says which component and why; the rest of the answer stands.
TEST_F(FlashServiceTest, AValueThisRunCannotComputeIsNullWithANote) {
    json request = ReadExample("natural_gas_tp.json");
    ASSERT_EQ(request["components"][2]["name"], "METHANE");
    request["components"][2]["ideal_gas_cp"] = {
        {"code", 7}, {"C", {0, 0, 0, 0, 1e300}}, {"Tmin_K", 50}, {"Tmax_K", 100}};
    const ordered_json properties = service.Answer(request).at("properties");
    for (const char* stream : {"feed", "vapour", "liquid"}) {
        for (const char* key : {"H", "S", "CpCv"}) {
            EXPECT_TRUE(properties[stream][key].is_null()) << stream << "." << key;
        }
        EXPECT_TRUE(properties[stream]["MW"].is_number()) << stream;
        EXPECT_TRUE(properties[stream]["residual"]["H"].is_number()) << stream;
    }
    EXPECT_TRUE(properties["vapour"]["Cp"].is_null());
    EXPECT_TRUE(properties["vapour"]["sound"].is_null());
    EXPECT_TRUE(properties["liquid"]["surface_tension"].is_number());

    ASSERT_EQ(properties["notes"].size(), 1U) << properties["notes"].dump();
    const ordered_json& note = properties["notes"][0];
    const std::string text = note["note"];
    EXPECT_NE(text.find("METHANE"), std::string::npos) << text;
    EXPECT_NE(text.find("outside their range 50.00 K to 100.00 K"), std::string::npos) << text;
    const auto values = note["values"].get<std::vector<std::string>>();
    EXPECT_NE(std::find(values.begin(), values.end(), "vapour.Cp"), values.end());
    EXPECT_NE(std::find(values.begin(), values.end(), "feed.H"), values.end());

    // An answer whose every value was computed has no notes.
    const ordered_json complete = service.Answer(ReadExample("natural_gas_tp.json"));
    EXPECT_TRUE(complete["properties"]["notes"].empty());
}

// The fast way (the components of the cache) and the plain parse read a request alike, a
// member name spelled with escapes included.
TEST_F(FlashServiceTest, DuplicateMembersMeanTheSameOnBothWays) {
    const std::string binary = json(Binary("TP")).dump();
    const std::string other =
        json({testing::FlashFieldsOf("ETHANE"), testing::FlashFieldsOf("PROPANE")}).dump();
    // The later member wins: "compon\u0065nts" names the ethane and propane.
    const std::string text =
        binary.substr(0, binary.size() - 1) + R"(, "compon\u0065nts": )" + other + "}";
    json plain = Binary("TP");
    plain["components"] = json::parse(other);
    EXPECT_EQ(service.Answer(std::string_view(text)), service.Answer(plain));
}

// A field present must be valid where the flash type does not use it; an unknown name comes
// back as an excerpt.
TEST_F(FlashServiceTest, EveryFieldGivenIsCheckedAndQuotedShort) {
    json request = Binary("TP");
    request["vf"] = 5;
    EXPECT_THROW(service.Answer(request), RequestError);
    request = Binary("TP");
    request["eos"] = std::string(1 << 20, 'Q');
    try {
        service.Answer(request);
        FAIL() << "an unknown equation of state is refused";
    } catch (const RequestError& error) {
        EXPECT_LT(std::string(error.what()).size(), 200U) << error.what();
    }
}

TEST_F(FlashServiceTest, MalformedTextIsARequestError) {
    EXPECT_THROW(service.Answer(std::string_view("{\"eos\": ")), RequestError);
    // A number beyond the range of a double is malformed too, not a crash.
    EXPECT_THROW(service.Answer(std::string_view(R"({"eos": "PR", "T_F": 1e400})")), RequestError);
}

// The last iterate of a run that did not converge need not be physical: what lies outside its
// range (not a number, a fraction outside 0..1, K or Z not above 0) is null.
TEST(FlashResponse, UnphysicalValuesAreNullAndAnUnconvergedRunSaysSo) {
    FlashCase flashCase;
    flashCase.flashType = FlashType::TV;
    flashCase.eosIndex = 1; // SRK
    flashCase.tempF = 12.5F;
    flashCase.pressPsia = 300.0F;
    flashCase.vapourFraction = 1.25;
    flashCase.x = {0.25F, 0.75F, -0.01F};
    flashCase.y = {0.9F, std::numeric_limits<float>::quiet_NaN(), 1.5F};
    flashCase.k = {3.6F, std::numeric_limits<float>::infinity(), -1.0F};
    flashCase.liquidZ = std::numeric_limits<float>::quiet_NaN();
    flashCase.vapourZ = 0.0F;
    flashCase.iterations = 100;
    flashCase.converged = false;
    flashCase.residual = 2.5e-3;
    flashCase.warning = "the vapour-fraction pressure reached its pass limit";
    const std::string text = FlashResponse(flashCase, nullptr);
    // The pressure of a vapour-fraction state that was not reached has no value either.
    EXPECT_EQ(text, R"({"flash":"TV","eos":"SRK","T_F":12.5,"P_psia":null,"vf":null,)"
                    R"("x":[0.25,0.75,null],"y":[0.9,null,null],"K":[3.6,null,null],)"
                    R"("Z_L":null,"Z_V":null,"iterations":100,"converged":false,)"
                    R"("residual":0.0025,)"
                    R"("warning":"the vapour-fraction pressure reached its pass limit"})");
}

TEST(BuildFlashCase, EstimateReplacesTheGivenInteractionParameters) {
    json request = Binary("TP");
    request["kij"] = {{0.0, 0.05}, {0.05, 0.0}};
    FlashCase given = BuildFlashCase(ParseFlashRequest(request, nullptr));
    EXPECT_FLOAT_EQ(given.kij(0, 1), 0.05F);
    EXPECT_EQ(given.vapourPressure[1].code, 6);
    EXPECT_EQ(given.vapourPressure[1].c[3],
              ToSingle(testing::BundledComponent("n-BUTANE").cells[22]));
    request["estimate_kij"] = true;
    FlashCase estimated = BuildFlashCase(ParseFlashRequest(request, nullptr));
    const KijTable expected = EstimateKij(estimated.tcF, estimated.zc);
    EXPECT_EQ(estimated.kij(0, 1), expected(0, 1));
    EXPECT_NE(estimated.kij(0, 1), 0.05F);
    EXPECT_EQ(estimated.kij(1, 1), 0.0F);
}

} // namespace
} // namespace quorvane
