#include "cli/flash_request.h"
#include "cli/request_error.h"
#include "tests/cli/fake_catalog.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

using nlohmann::json;

json Methane() {
    return json::parse(R"({"name": "METHANE", "MW": 16.043, "Tc_F": -116.67,
        "Pc_psia": 667.8, "Vc": 1.586, "Zc": 0.286, "omega": 0.0115,
        "vp": {"code": 6, "C": [39.205, -1324.4, -3.4366, 3.1019e-05, 2.0]}})");
}

json Butane() {
    return json::parse(R"({"name": "n-BUTANE", "MW": 58.123, "Tc_F": 305.62,
        "Pc_psia": 550.6, "Vc": 4.08, "Zc": 0.274, "omega": 0.2,
        "vp": {"code": 6, "C": [66.343, -4363.2, -7.046, 9.4509e-06, 2.0],
               "Tmin_K": 134.86, "Tmax_K": 425.12}})");
}

class FlashRequestTest : public ::testing::Test {
protected:
    void SetUp() override {
        request = {{"eos", "PR"},
                   {"flash", "TP"},
                   {"T_F", 40.0},
                   {"P_psia", 500.0},
                   {"components", json::array({Methane(), Butane()})},
                   {"z", {0.5, 0.5}}};
        catalog.Add("ETHANE", 89.92, 706.6, 0.0995);
    }

    // The message of the RequestError the request raises ("" when it parses).
    std::string ErrorOf(const json& changed, const ComponentCatalog* source = nullptr) {
        try {
            ParseFlashRequest(changed, source);
        } catch (const RequestError& error) {
            return error.what();
        }
        return "";
    }

    json request;
    test::FakeCatalog catalog;
};

TEST_F(FlashRequestTest, ValidRequestKeepsEveryInputInItsPlace) {
    request["kij"] = {{0.0, 0.02}, {0.02, 0.0}};
    const FlashRequest parsed = ParseFlashRequest(request, nullptr);
    EXPECT_EQ(parsed.eos, "PR");
    EXPECT_EQ(parsed.eosIndex, 3);
    EXPECT_EQ(parsed.flashIndex, 0);
    EXPECT_DOUBLE_EQ(parsed.tempF, 40.0);
    EXPECT_DOUBLE_EQ(parsed.pressPsia, 500.0);
    ASSERT_EQ(parsed.components.size(), 2U);
    const ComponentRow& butane = parsed.components[1];
    EXPECT_EQ(butane.name, "n-BUTANE");
    EXPECT_DOUBLE_EQ(butane.cells[kOrdinalCriticalTemperature], 305.62);
    EXPECT_DOUBLE_EQ(butane.cells[kOrdinalAcentricFactor], 0.2);
    EXPECT_DOUBLE_EQ(butane.cells[19], 66.343);
    EXPECT_DOUBLE_EQ(butane.cells[22], 9.4509e-06);
    EXPECT_DOUBLE_EQ(butane.cells[24], 134.86);
    EXPECT_DOUBLE_EQ(butane.cells[26], 6.0);
    EXPECT_TRUE(std::isnan(butane.cells[kOrdinalBoilingTemperature])); // not given
    EXPECT_TRUE(std::isnan(parsed.components[0].cells[24]));           // no range given
    EXPECT_DOUBLE_EQ(parsed.kij[1][0], 0.02);
    EXPECT_FALSE(parsed.estimateKij);
}

TEST_F(FlashRequestTest, OptionalFieldsHaveTheirDefaults) {
    const FlashRequest parsed = ParseFlashRequest(request, nullptr);
    EXPECT_EQ(parsed.kij, std::vector<std::vector<double>>(2, std::vector<double>(2, 0.0)));
    EXPECT_FALSE(parsed.estimateKij);
    request["estimate_kij"] = true;
    EXPECT_TRUE(ParseFlashRequest(request, nullptr).estimateKij);
}

TEST_F(FlashRequestTest, ExtraPropertyFieldsLandOnTheirOrdinals) {
    request["components"][0]["Tb_F"] = -258.7;
    request["components"][0]["Hf"] = -2009.0;
    request["components"][0]["ideal_gas_cp"] = {{"code", 2}, {"C", {33298, 79933, 2086.9}}};
    request["components"][0]["ordinals"] = {{"91", 0.04}, {"7", -100.0}};
    const FlashRequest parsed = ParseFlashRequest(request, nullptr);
    const ComponentRow& methane = parsed.components[0];
    EXPECT_DOUBLE_EQ(methane.cells[7], -258.7); // the named field wins over "ordinals"
    EXPECT_DOUBLE_EQ(methane.cells[12], -2009.0);
    EXPECT_DOUBLE_EQ(methane.cells[77], 2086.9);
    EXPECT_DOUBLE_EQ(methane.cells[78], 0.0); // unused coefficients are zero
    EXPECT_DOUBLE_EQ(methane.cells[82], 2.0);
    EXPECT_DOUBLE_EQ(methane.cells[91], 0.04);
}

TEST_F(FlashRequestTest, StateVariablesRequiredByTheFlashType) {
    request["flash"] = "BUBP";
    request.erase("P_psia");
    EXPECT_EQ(ErrorOf(request), "");
    request["flash"] = "BUBT";
    EXPECT_EQ(ErrorOf(request), "P_psia: missing field (a \"BUBT\" flash is given it)");
    request["P_psia"] = 300.0;
    request.erase("T_F");
    EXPECT_EQ(ErrorOf(request), "");
    request["flash"] = "PV";
    EXPECT_EQ(ErrorOf(request), "vf: missing field (a \"PV\" flash is given it)");
    request["vf"] = 1.5;
    EXPECT_EQ(ErrorOf(request), "vf: Vapor Fraction must be a number between 0 and 1.");
    request["vf"] = 0.25;
    EXPECT_EQ(ErrorOf(request), "");
}

TEST_F(FlashRequestTest, RequestsThatCannotRunSayWhatAndWhere) {
    struct Case {
        const char* pointer;
        json value;
        const char* message;
    };
    const std::vector<Case> cases{
        {"/eos", "PR-79",
         "eos: unknown equation of state \"PR-79\" (expected one of \"RK\", \"SRK\", "
         "\"SRK-78 (API)\", \"PR\", \"PR-78\")"},
        {"/eos", 3, "eos: expected a string, found number"},
        {"/flash", "XY",
         "flash: unknown flash type \"XY\" (expected one of \"TP\", \"BUBP\", \"BUBT\", "
         "\"DEWP\", \"DEWT\", \"TV\", \"PV\")"},
        {"/P_psia", 0.0, "P_psia: the pressure must be positive"},
        {"/P_psia", -14.7, "P_psia: the pressure must be positive"},
        {"/P_psia", "500", "P_psia: expected a number, found string"},
        {"/T_F", -500.0, "T_F: below absolute zero (-459.67 F)"},
        {"/z/1", "0.5", "z[1]: expected a number, found string"},
        {"/z", {0.5, 0.5, 0.0}, "z: 3 fractions for 2 components"},
        {"/z", {0.5, 0.6}, "z: the mole fractions add up to 1.1, not 1"},
        {"/z", {1.5, -0.5}, "z[1]: a mole fraction cannot be negative"},
        {"/kij", {{0.0, 0.1}}, "kij: 1 rows for 2 components"},
        {"/kij", {{0.0, 0.1}, {0.1, "x"}}, "kij[1][1]: expected a number, found string"},
        {"/kij", {{0.0, 0.1}, {0.1}}, "kij[1]: expected an array of 2 numbers"},
        {"/estimate_kij", 1, "estimate_kij: expected true or false, found number"},
        {"/components", json::array(), "components: at least one component is needed"},
        {"/components/1/Pc_psia", -5.0, "components[1].Pc_psia: must be positive"},
        {"/components/0/vp/code", 3,
         "components[0].vp.code: the vapour-pressure equation code must be 1 or 6"},
        {"/components/0/vp/C/2", nullptr, "components[0].vp.C[2]: expected a number, found null"},
        {"/components/0/ordinals",
         {{"200", 1.0}},
         "components[0].ordinals.200: not an ordinal from 2 to 114"},
        {"/components/1", "n-BUTANE", "components[1]: expected a component object"},
    };
    for (const Case& c : cases) {
        json changed = request;
        changed[json::json_pointer(c.pointer)] = c.value;
        EXPECT_EQ(ErrorOf(changed), c.message) << c.pointer;
    }
    json missing = request;
    missing.erase("eos");
    EXPECT_EQ(ErrorOf(missing), "eos: missing field");
    missing = request;
    missing["components"][1].erase("Zc");
    EXPECT_EQ(ErrorOf(missing), "components[1].Zc: missing field");
    EXPECT_EQ(ErrorOf(json::array()), "expected a request object, found array");
}

TEST_F(FlashRequestTest, MoreThanTwentyFiveComponentsAreRefused) {
    json many = request;
    many["components"] = json::array();
    many["z"] = json::array();
    for (int i = 0; i < 26; ++i) {
        many["components"].push_back(Methane());
        many["z"].push_back(1.0 / 26);
    }
    EXPECT_EQ(ErrorOf(many), "components: 26 components given; Only 25 components are allowed.");
    many["components"].erase(25);
    many["z"] = json::array();
    for (int i = 0; i < 25; ++i) {
        many["z"].push_back(0.04);
    }
    EXPECT_EQ(ErrorOf(many), "");
}

TEST_F(FlashRequestTest, NamedComponentComesFromTheCatalogueAndFieldsOverrideIt) {
    request["components"][1] = {{"name", "ETHANE"}, {"omega", 0.1}};
    const FlashRequest parsed = ParseFlashRequest(request, &catalog);
    const ComponentRow& ethane = parsed.components[1];
    EXPECT_EQ(ethane.name, "ETHANE");
    EXPECT_DOUBLE_EQ(ethane.cells[kOrdinalCriticalTemperature], 89.92);
    EXPECT_DOUBLE_EQ(ethane.cells[kOrdinalAcentricFactor], 0.1); // explicit beats the row
    EXPECT_DOUBLE_EQ(ethane.cells[75], 33000.0);                 // the rest of the row
}

TEST_F(FlashRequestTest, UnknownNameWithoutDataIsAnErrorNamingIt) {
    request["components"][1] = {{"name", "UNOBTAINIUM"}};
    EXPECT_EQ(ErrorOf(request, &catalog),
              "components[1]: unknown component \"UNOBTAINIUM\" (not in the component "
              "database; give its data explicitly or run \"quorvane-cli components\")");
}

TEST_F(FlashRequestTest, ComponentsWithTheirOwnDataNeedNoDatabase) {
    const test::FakeCatalog broken(true);
    EXPECT_EQ(ErrorOf(request, &broken), "");
    request["components"][1] = {{"name", "ETHANE"}};
    EXPECT_EQ(ErrorOf(request, &broken),
              "components[1]: component \"ETHANE\" needs the database: cannot open the "
              "component database \"missing.db\"");
}

} // namespace
} // namespace quorvane
