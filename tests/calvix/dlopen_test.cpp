// The library as the desktop program binds it: loaded by file name from the program folder
// (the tests' working directory) and called through resolved symbols only.

#include <cstdint>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

using IntOfInt = std::int32_t (*)(std::int32_t);
using DoubleOfDouble = double (*)(double);
using DoubleOfTwo = double (*)(double, double);
using IntOfTwo = std::int32_t (*)(double, double);

constexpr const char* kExports[] = {
    "STM_GetDllVer",     "STM_SetTempUnit",  "STM_SetPressUnit",
    "STM_SetEnthalUnit", "STM_SetEntroUnit", "STM_SetDensityUnit",
    "STM_SetWetDryUnit", "STM_SetHCUnit",    "STM_GetMaxTemp",
    "STM_GetMinTemp",    "STM_GetMaxPress",  "STM_GetMinPress",
    "STM_sPt",           "STM_sTp",          "STM_sRt",
    "STM_sHtx",          "STM_sDtx",         "STM_sStx",
    "STM_sHps",          "STM_sXps",         "STM_sXph",
    "STM_nDtp",          "STM_nHtp",         "STM_nStp",
    "STM_nCPtp",         "STM_nCVtp",        "STM_nWtp",
    "STM_nKtp",          "STM_nTps",         "STM_nTph",
    "STM_IsSat_ps",      "STM_IsSat_ph",
};

class LoadedLibrary : public testing::Test {
protected:
    void SetUp() override {
        m_handle = dlopen("./libcalvix.so", RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << dlerror();
    }
    void TearDown() override {
        if (m_handle != nullptr) {
            dlclose(m_handle);
        }
    }

    template <typename Fn>
    Fn Resolve(const char* name) {
        return reinterpret_cast<Fn>(dlsym(m_handle, name));
    }

    void* m_handle = nullptr;
};

TEST_F(LoadedLibrary, EveryExportResolvesByItsName) {
    for (const char* name : kExports) {
        EXPECT_NE(dlsym(m_handle, name), nullptr) << name;
    }
    // Internal functions stay hidden (calvix::Region1(double, double)).
    EXPECT_EQ(dlsym(m_handle, "_ZN6calvix7Region1Edd"), nullptr);
}

TEST_F(LoadedLibrary, VersionDescribesTheLibraryNotTheProgram) {
    const auto getVersion = Resolve<IntOfInt>("STM_GetDllVer");
    ASSERT_NE(getVersion, nullptr);
    EXPECT_EQ(getVersion(1), 2);
    EXPECT_EQ(getVersion(2), 2);
    EXPECT_EQ(getVersion(3), 0);
    EXPECT_EQ(getVersion(4), 0);
    EXPECT_EQ(getVersion(0), 2);
    EXPECT_EQ(getVersion(5), 2);
}

TEST_F(LoadedLibrary, CallsThroughResolvedSymbols) {
    const auto setTemp = Resolve<IntOfInt>("STM_SetTempUnit");
    const auto saturationPressure = Resolve<DoubleOfDouble>("STM_sPt");
    const auto enthalpy = Resolve<DoubleOfTwo>("STM_nHtp");
    const auto temperaturePh = Resolve<DoubleOfTwo>("STM_nTph");
    const auto isWet = Resolve<IntOfTwo>("STM_IsSat_ph");
    ASSERT_TRUE(setTemp && saturationPressure && enthalpy && temperaturePh && isWet);

    // Region 1 at (300 K, 3 MPa): h = 115.331273 kJ/kg (R7-97 Table 5).
    EXPECT_NEAR(enthalpy(300.0, 3.0), 115.331273, 5e-7);
    EXPECT_NEAR(temperaturePh(3.0, 500.0), 391.798509, 5e-7); // Table 7
    EXPECT_EQ(isWet(0.1, 2000.0), 1);
    ASSERT_EQ(setTemp(2), 1);
    EXPECT_NEAR(saturationPressure(100.0), 0.101418, 1e-6); // boiling at 100 °C
    EXPECT_EQ(setTemp(4), 0);
    ASSERT_EQ(setTemp(1), 1);
}

} // namespace
