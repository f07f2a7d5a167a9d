#pragma once

// Process-wide state of Dornel: what it read from Dadez when loaded, the current unit codes, and
// the error path shared by every export.

#include <atomic>
#include <exception>

namespace dornel {

constexpr double kErrorValue = -9999.0;

// Error codes passed to Dadez's error report.
constexpr int kRangeError = 272;                               // argument or unit code
constexpr int kRegionError = 320;                              // subregion outside 1 to 6
constexpr int kDivisionByZero = static_cast<int>(0xC000008Eu); // volume conversion

// Read from Dadez once, when the library is loaded.
struct DadezLimits {
    bool usable = false; // false when Dadez is older than version 4
    double tc = 0, pc = 0, vc = 0;
    double minTheta = 0, maxTheta = 0, minBeta = 0, maxBeta = 0;
    double minBetaK = 0, minTheta34 = 0, minBeta34 = 0;
};

const DadezLimits& Dadez();

struct UnitCodes {
    std::atomic<int> temp{2};
    std::atomic<int> press{11};
    std::atomic<int> entl{22};
    std::atomic<int> entr{32};
    std::atomic<int> vol{42};
    std::atomic<int> wetDry{51};
    std::atomic<int> heatCap{62};
    std::atomic<int> thermalCon{72};
    std::atomic<int> dynamicVis{83};
    std::atomic<int> surTension{91};
};

UnitCodes& Units();

inline int Code(const std::atomic<int>& code) {
    return code.load(std::memory_order_relaxed);
}

// Thrown after an error has been reported; the export catches it and returns kErrorValue.
class ReportedError : public std::exception {
public:
    const char* what() const noexcept override { return "Dornel error (already reported)"; }
};

// Reports `code` with `name` (for instance "STM_nEtp()") through Dadez and throws ReportedError.
[[noreturn]] void Fail(int code, const char* name);

// Runs an export's body: -9999 when Dadez is unusable or after a reported error. No exception
// leaves the library.
template <class Body>
double Guarded(Body&& body) noexcept {
    if (!Dadez().usable) {
        return kErrorValue;
    }
    try {
        return body();
    } catch (...) {
        return kErrorValue;
    }
}

} // namespace dornel
