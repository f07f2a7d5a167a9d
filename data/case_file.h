#pragma once

// Case files (".qvr"): everything the main window needs to show a calculation again, written
// field by field in a fixed binary layout, integers and floating-point values little-endian.
//
//   1  stream name          16-bit type code 8, 16-bit length L, L bytes
//   2  equation of state    16-bit list index (-1 none, 0..4)
//   3  water/steam shown    16-bit check value (0 or 1)
//   4  composition basis    16-bit option index (0..3)
//   5  steam formulation    16-bit option index (0 or 1)
//   6-10 steam inputs       five 16-bit check values
//   11 mixture record       see below
//   12 estimate kij         16-bit check value
//   13 flash type           16-bit list index (0..6)
//
// The mixture record, member by member with no padding: the component table (a two-dimensional
// array of cells, ordinal by component), the state temperature (°F) and pressure (psia) as
// 32-bit values, thirteen 32-bit arrays (Tc, Pc, Vc, Zc, Tb, acentric factor, the 25 × n
// interaction table, x, y, K, feed, entered composition, molecular weight), the vapour fraction
// (64-bit), the thirty stored property results, the composition basis again (16-bit) and
// thirteen further 32-bit values (the water calculator's nine stored results, then the
// Joule-Thomson coefficients and speeds of sound of vapour and liquid).
//
// An array is preceded by a descriptor: its number of dimensions d (16-bit; 0 for an empty
// array, which has no elements), then for each dimension its element count and lower bound
// (32-bit each), the first index first; the elements follow with the first index varying
// fastest. A cell is a 16-bit type code and its value: 0 empty and 1 null (code only), 2 a
// 16-bit integer, 3 a 32-bit integer, 4 a 32-bit and 5 a 64-bit floating-point number, 8 text
// (16-bit length and the bytes), 11 a 16-bit boolean, 17 one byte. Cells are written as null,
// 64-bit numbers or text.
//
// Reading validates the whole file before anything is returned: a file that ends early, has an
// unknown type code, an array of the wrong shape or size, a component the mixture could not
// hold, or bytes after the last field is refused with a CaseFileError, so a caller never applies
// half a case.

#include "data/mixture_components.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

inline constexpr std::string_view kCaseFileExtension = "qvr";

// Error numbers, in the customary run-time numbering the messages show ("Error 62 reading
// file.").
namespace case_error {
inline constexpr int kInvalidValue = 5;      // a value outside its range or not consistent
inline constexpr int kBadShape = 9;          // an array of the wrong shape or size
inline constexpr int kTypeMismatch = 13;     // an unknown or unexpected type code
inline constexpr int kFileNotFound = 53;     // the file is missing
inline constexpr int kDiskFull = 61;         // the disk is full
inline constexpr int kPastEnd = 62;          // the file ends before the case is complete
inline constexpr int kPermissionDenied = 70; // the file or folder may not be written or read
inline constexpr int kAccessError = 75;      // any other failure to open, write or rename
} // namespace case_error

// Why a case file could not be read or written; Number() is one of case_error, what() says
// what went wrong and what to do.
class CaseFileError : public std::runtime_error {
public:
    CaseFileError(int number, const std::string& description)
        : std::runtime_error(description), m_number(number) {}
    int Number() const { return m_number; }

private:
    int m_number;
};

// Number of stored property results (molecular weight through surface tension) and of the
// further values after the basis.
inline constexpr std::size_t kCaseResultCount = 30;
inline constexpr std::size_t kCaseWaterResultCount = 9;
inline constexpr std::size_t kCaseFurtherCount = kCaseWaterResultCount + 4;
inline constexpr std::size_t kCaseSteamInputCount = 5;

// Largest file the reader takes: far above a 25-component case (about 30 kB).
inline constexpr std::uintmax_t kMaxCaseFileBytes = 1u << 20;
// Largest number of cells in a component row the reader takes (the database has 115).
inline constexpr int kMaxCaseRowCells = 1024;

struct CaseFile {
    std::string streamName; // the bytes of the stream-name box
    std::int16_t eosIndex = -1;
    std::int16_t steamShown = 0;
    std::int16_t basis = 0; // composition basis, 0..3
    std::int16_t steamFormulation = 0;
    std::array<std::int16_t, kCaseSteamInputCount> steamInputs{};

    // Components with their rows, working arrays, compositions, last x, y, K and kij.
    MixtureComponents mixture;
    float tempF = 0.0F;
    float pressPsia = 0.0F;
    double vapourFraction = 0.0;
    std::array<float, kCaseResultCount> results{};
    std::array<float, kCaseFurtherCount> further{};

    std::int16_t estimateKij = 0;
    std::int16_t flashType = 0;
};

// The bytes of the file. Throws CaseFileError (number kInvalidValue) for a case that cannot be
// written: a text longer than 65535 bytes or an input value that is not a finite number.
std::vector<std::uint8_t> WriteCaseFile(const CaseFile& caseFile);

// Reads and validates a whole file. Throws CaseFileError; nothing is returned unless every field
// was read and checked.
CaseFile ReadCaseFile(std::span<const std::uint8_t> bytes);

// Which stream of the saved case becomes the feed of the opened one.
enum class LoadOption { FeedAsFeed = 0, VaporAsFeed = 1, LiquidAsFeed = 2 };

// "Feed_as_Feed", "Vapor_as_Feed", "Liquid_as_Feed".
std::string_view LoadOptionText(LoadOption option);

// Applies the load option: the vapour (or liquid) composition of the saved flash becomes the
// feed, the vapour fraction 1 (or 0), and the entered composition is rebuilt from the new feed
// in the case's basis. "Feed_as_Feed" keeps the saved feed and entered composition as they
// are. Throws CaseFileError (nothing changed) when the chosen phase holds no composition.
void ApplyLoadOption(CaseFile& caseFile, LoadOption option);

} // namespace quorvane
