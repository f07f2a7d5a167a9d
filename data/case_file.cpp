#include "data/case_file.h"

#include "common/precision.h"
#include "units/fractions.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <initializer_list>

namespace quorvane {

namespace {

// Cell type codes.
constexpr std::int16_t kTypeEmpty = 0;
constexpr std::int16_t kTypeNull = 1;
constexpr std::int16_t kTypeInteger = 2;
constexpr std::int16_t kTypeLong = 3;
constexpr std::int16_t kTypeSingle = 4;
constexpr std::int16_t kTypeDouble = 5;
constexpr std::int16_t kTypeText = 8;
constexpr std::int16_t kTypeBoolean = 11;
constexpr std::int16_t kTypeByte = 17;

constexpr std::size_t kMaxTextBytes = 0xFFFF;
constexpr int kFlashTypeCount = 7;
constexpr int kEosCount = 5;
constexpr int kInteractionRows = MixtureComponents::kInteractionRows;

const std::string kDamaged =
    " The file is damaged or is not a Quorvane case file; open another copy of the case.";

[[noreturn]] void Damaged(int number, const std::string& detail) {
    throw CaseFileError(number, detail + kDamaged);
}

[[noreturn]] void Unsaveable(const std::string& detail) {
    throw CaseFileError(case_error::kInvalidValue,
                        "The case cannot be saved: " + detail + " Correct it and save again.");
}

// ---- Writing ------------------------------------------------------------------------------

class ByteWriter {
public:
    void U16(std::uint16_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
    void U32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            m_bytes.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
        }
    }
    void I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
    void F32(float value) { U32(std::bit_cast<std::uint32_t>(value)); }
    void F64(double value) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        U32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
        U32(static_cast<std::uint32_t>(bits >> 32));
    }
    // 16-bit length and the bytes.
    void Text(std::string_view text, const char* what) {
        if (text.size() > kMaxTextBytes) {
            Unsaveable(std::string(what) + " is longer than 65535 characters.");
        }
        U16(static_cast<std::uint16_t>(text.size()));
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    }
    // Array descriptor: no dimensions for an empty array, else each count with lower bound 0.
    void Descriptor(std::initializer_list<int> counts) {
        const bool empty = std::any_of(counts.begin(), counts.end(), [](int c) { return c < 1; });
        if (empty) {
            I16(0);
            return;
        }
        I16(static_cast<std::int16_t>(counts.size()));
        for (int count : counts) {
            I32(count);
            I32(0);
        }
    }
    void Floats(std::span<const float> values) {
        Descriptor({static_cast<int>(values.size())});
        for (float v : values) {
            F32(v);
        }
    }
    void Cell(const ComponentCell& cell) {
        if (const auto* number = std::get_if<double>(&cell)) {
            I16(kTypeDouble);
            F64(*number);
        } else if (const auto* text = std::get_if<std::string>(&cell)) {
            I16(kTypeText);
            Text(*text, "A component cell");
        } else {
            I16(kTypeNull);
        }
    }

    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

// ---- Reading ------------------------------------------------------------------------------

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    void Need(std::size_t count) const {
        if (count > m_bytes.size() - m_pos) {
            Damaged(case_error::kPastEnd, "The file ends before the case is complete.");
        }
    }
    std::size_t Remaining() const { return m_bytes.size() - m_pos; }

    std::uint16_t U16() {
        Need(2);
        const auto value = static_cast<std::uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return value;
    }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32() {
        Need(4);
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | m_bytes[m_pos + static_cast<std::size_t>(i)];
        }
        m_pos += 4;
        return value;
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    float F32() { return std::bit_cast<float>(U32()); }
    double F64() {
        const std::uint64_t low = U32();
        const std::uint64_t high = U32();
        return std::bit_cast<double>(low | (high << 32));
    }
    std::string Text() {
        const std::size_t length = U16();
        Need(length);
        std::string text(reinterpret_cast<const char*>(m_bytes.data() + m_pos), length);
        m_pos += length;
        return text;
    }
    std::uint8_t Byte() {
        Need(1);
        return m_bytes[m_pos++];
    }

    // A descriptor of an array of `dims` dimensions; the counts, all 0 for an empty array.
    std::vector<int> Descriptor(int dims, const char* what) {
        const std::int16_t d = I16();
        std::vector<int> counts(static_cast<std::size_t>(dims), 0);
        if (d == 0) {
            return counts;
        }
        if (d != dims) {
            Damaged(case_error::kBadShape, std::string("The ") + what + " has " +
                                               std::to_string(d) + " dimensions instead of " +
                                               std::to_string(dims) + ".");
        }
        for (int& count : counts) {
            count = I32();
            const std::int32_t lower = I32();
            if (count < 1 || lower != 0) {
                Damaged(case_error::kBadShape,
                        std::string("The ") + what + " has impossible bounds.");
            }
        }
        return counts;
    }

    // A one-dimensional array of 32-bit values with exactly `count` elements.
    std::vector<float> Floats(int count, const char* what) {
        const int found = Descriptor(1, what).front();
        if (found != count) {
            Damaged(case_error::kBadShape, std::string("The ") + what + " has " +
                                               std::to_string(found) + " values for " +
                                               std::to_string(count) + " components.");
        }
        Need(static_cast<std::size_t>(count) * 4);
        std::vector<float> values(static_cast<std::size_t>(count));
        for (float& v : values) {
            v = F32();
        }
        return values;
    }

    ComponentCell Cell() {
        const std::int16_t type = I16();
        switch (type) {
        case kTypeEmpty:
        case kTypeNull:
            return std::monostate{};
        case kTypeInteger:
        case kTypeBoolean:
            return static_cast<double>(I16());
        case kTypeLong:
            return static_cast<double>(I32());
        case kTypeSingle:
            return FiniteCell(F32());
        case kTypeDouble:
            return FiniteCell(F64());
        case kTypeByte:
            return static_cast<double>(Byte());
        case kTypeText:
            return Text();
        default:
            Damaged(case_error::kTypeMismatch,
                    "A component cell has the unknown type code " + std::to_string(type) + ".");
        }
    }

private:
    static double FiniteCell(double value) {
        if (!std::isfinite(value)) {
            Damaged(case_error::kInvalidValue, "A component cell holds a number that is not "
                                               "finite.");
        }
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// ---- Checks shared by writing and reading ---------------------------------------------------

bool AllFinite(std::span<const float> values) {
    return std::all_of(values.begin(), values.end(), [](float v) { return std::isfinite(v); });
}

bool InRange(int value, int low, int high) {
    return value >= low && value <= high;
}

// The first field outside its range, or nullptr.
const char* BadField(const CaseFile& c) {
    if (!InRange(c.eosIndex, -1, kEosCount - 1)) {
        return "the equation of state";
    }
    if (!InRange(c.steamShown, 0, 1)) {
        return "the water/steam option";
    }
    if (!InRange(c.basis, 0, 3)) {
        return "the composition basis";
    }
    if (!InRange(c.steamFormulation, 0, 1)) {
        return "the steam formulation";
    }
    for (std::int16_t input : c.steamInputs) {
        if (!InRange(input, 0, 1)) {
            return "a steam input";
        }
    }
    if (!InRange(c.estimateKij, 0, 1)) {
        return "the estimate-kij option";
    }
    if (!InRange(c.flashType, 0, kFlashTypeCount - 1)) {
        return "the flash type";
    }
    if (!std::isfinite(c.tempF) || !std::isfinite(c.pressPsia)) {
        return "the temperature or pressure";
    }
    const MixtureComponents& m = c.mixture;
    if (!AllFinite(m.FeedMoleFractions()) || !AllFinite(m.EnteredComposition())) {
        return "the composition";
    }
    const int columns = std::max(m.Count(), 1);
    for (int col = 0; col < columns; ++col) {
        for (int row = 0; row < kInteractionRows; ++row) {
            if (!std::isfinite(m.Kij(row, col))) {
                return "an interaction parameter";
            }
        }
    }
    return nullptr;
}

bool SameBits(std::span<const float> a, std::span<const float> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](float x, float y) {
        return std::bit_cast<std::uint32_t>(x) == std::bit_cast<std::uint32_t>(y);
    });
}

int RowCells(const MixtureComponents& mixture) {
    int cells = 0;
    for (const ComponentRecord& record : mixture.Records()) {
        cells = std::max(cells, static_cast<int>(record.cells.size()));
    }
    return cells;
}

// Reads the mixture record (member 11) into the case.
void ReadMixture(ByteReader& in, CaseFile& c) {
    const std::vector<int> table = in.Descriptor(2, "component table");
    const int cells = table[0];
    const int n = table[1];
    if (n > MixtureComponents::kMaxComponents || cells > kMaxCaseRowCells) {
        Damaged(case_error::kBadShape, "The component table has " + std::to_string(n) +
                                           " components of " + std::to_string(cells) +
                                           " cells; a case holds at most 25 components.");
    }
    // Each cell takes at least its type code: the table must fit in what is left.
    in.Need(static_cast<std::size_t>(cells) * static_cast<std::size_t>(n) * 2);
    std::vector<ComponentRecord> records(static_cast<std::size_t>(n));
    for (ComponentRecord& record : records) {
        record.cells.reserve(static_cast<std::size_t>(cells));
        for (int k = 0; k < cells; ++k) {
            record.cells.push_back(in.Cell());
        }
    }
    c.tempF = in.F32();
    c.pressPsia = in.F32();

    const char* const workingNames[] = {"critical temperature array", "critical pressure array",
                                        "critical volume array",      "critical Z array",
                                        "boiling point array",        "acentric factor array"};
    std::vector<std::vector<float>> working;
    for (const char* name : workingNames) {
        working.push_back(in.Floats(n, name));
    }
    const std::vector<int> kijShape = in.Descriptor(2, "interaction table");
    const int columns = std::max(n, 1);
    if (kijShape[0] != kInteractionRows || kijShape[1] != columns) {
        Damaged(case_error::kBadShape,
                "The interaction table is not 25 by " + std::to_string(columns) + ".");
    }
    std::vector<float> kij(static_cast<std::size_t>(kInteractionRows * columns));
    for (float& v : kij) {
        v = in.F32();
    }
    const auto liquid = in.Floats(n, "liquid composition");
    const auto vapour = in.Floats(n, "vapour composition");
    const auto k = in.Floats(n, "K-value array");
    const auto feed = in.Floats(n, "feed composition");
    const auto entered = in.Floats(n, "entered composition");
    working.insert(working.begin(), in.Floats(n, "molecular weight array"));

    // The components enter the mixture as they entered it when they were added: each must be
    // usable, none twice.
    MixtureComponents& m = c.mixture;
    m.Reset();
    for (std::size_t i = 0; i < records.size(); ++i) {
        AddComponentResult result = AddComponentResult::LimitReached;
        try {
            result = m.AddDatabaseComponent(records[i]);
        } catch (const InvalidComponentRecord&) {
        }
        if (result != AddComponentResult::Added) {
            Damaged(case_error::kInvalidValue, "Component " + std::to_string(i + 1) +
                                                   " of the case is not usable or appears twice.");
        }
    }
    // The working arrays must be those of the rows.
    const std::span<const float> fromRows[] = {m.MolecularWeights(),
                                               m.CriticalTemperaturesF(),
                                               m.CriticalPressuresPsia(),
                                               m.CriticalVolumes(),
                                               m.CriticalZ(),
                                               m.BoilingPointsF(),
                                               m.AcentricFactors()};
    for (std::size_t a = 0; a < working.size(); ++a) {
        if (!SameBits(working[a], fromRows[a])) {
            Damaged(case_error::kInvalidValue,
                    "The component constants do not agree with the component rows.");
        }
    }
    std::copy(liquid.begin(), liquid.end(), m.LiquidMoleFractions().begin());
    std::copy(vapour.begin(), vapour.end(), m.VaporMoleFractions().begin());
    std::copy(k.begin(), k.end(), m.KValues().begin());
    std::copy(feed.begin(), feed.end(), m.FeedMoleFractions().begin());
    std::copy(entered.begin(), entered.end(), m.EnteredComposition().begin());
    for (int col = 0; col < columns; ++col) {
        for (int row = 0; row < kInteractionRows; ++row) {
            m.SetKij(row, col, kij[static_cast<std::size_t>(col * kInteractionRows + row)]);
        }
    }

    c.vapourFraction = in.F64();
    for (float& v : c.results) {
        v = in.F32();
    }
    if (in.I16() != c.basis) {
        Damaged(case_error::kInvalidValue, "The two composition bases of the case differ.");
    }
    for (float& v : c.further) {
        v = in.F32();
    }
}

} // namespace

std::vector<std::uint8_t> WriteCaseFile(const CaseFile& c) {
    if (const char* bad = BadField(c)) {
        Unsaveable(std::string("the value of ") + bad + " is not valid.");
    }
    ByteWriter out;
    out.I16(kTypeText);
    out.Text(c.streamName, "The stream name");
    out.I16(c.eosIndex);
    out.I16(c.steamShown);
    out.I16(c.basis);
    out.I16(c.steamFormulation);
    for (std::int16_t input : c.steamInputs) {
        out.I16(input);
    }

    const MixtureComponents& m = c.mixture;
    const int n = m.Count();
    const int cells = RowCells(m);
    out.Descriptor({cells, n});
    static const ComponentCell kEmpty;
    for (const ComponentRecord& record : m.Records()) {
        for (int k = 0; k < cells; ++k) {
            out.Cell(k < static_cast<int>(record.cells.size())
                         ? record.cells[static_cast<std::size_t>(k)]
                         : kEmpty);
        }
    }
    out.F32(c.tempF);
    out.F32(c.pressPsia);
    for (auto values : {m.CriticalTemperaturesF(), m.CriticalPressuresPsia(), m.CriticalVolumes(),
                        m.CriticalZ(), m.BoilingPointsF(), m.AcentricFactors()}) {
        out.Floats(values);
    }
    const int columns = std::max(n, 1);
    out.Descriptor({kInteractionRows, columns});
    for (int col = 0; col < columns; ++col) {
        for (int row = 0; row < kInteractionRows; ++row) {
            out.F32(m.Kij(row, col));
        }
    }
    for (auto values : {m.LiquidMoleFractions(), m.VaporMoleFractions(), m.KValues(),
                        m.FeedMoleFractions(), m.EnteredComposition(), m.MolecularWeights()}) {
        out.Floats(values);
    }
    out.F64(c.vapourFraction);
    for (float v : c.results) {
        out.F32(v);
    }
    out.I16(c.basis);
    for (float v : c.further) {
        out.F32(v);
    }
    out.I16(c.estimateKij);
    out.I16(c.flashType);
    return out.Take();
}

CaseFile ReadCaseFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > kMaxCaseFileBytes) {
        Damaged(case_error::kInvalidValue, "The file is too large to be a case file.");
    }
    ByteReader in(bytes);
    CaseFile c;
    if (in.I16() != kTypeText) {
        Damaged(case_error::kTypeMismatch, "The file does not begin with a stream name.");
    }
    c.streamName = in.Text();
    c.eosIndex = in.I16();
    c.steamShown = in.I16();
    c.basis = in.I16();
    c.steamFormulation = in.I16();
    for (std::int16_t& input : c.steamInputs) {
        input = in.I16();
    }
    // Checked before the mixture, whose last member repeats the basis.
    if (!InRange(c.basis, 0, 3)) {
        Damaged(case_error::kInvalidValue, "The composition basis is not valid.");
    }
    ReadMixture(in, c);
    c.estimateKij = in.I16();
    c.flashType = in.I16();
    if (in.Remaining() != 0) {
        Damaged(case_error::kInvalidValue, "The file goes on after the last field of a case.");
    }
    if (const char* bad = BadField(c)) {
        Damaged(case_error::kInvalidValue, std::string("The value of ") + bad + " is not valid.");
    }
    return c;
}

std::string_view LoadOptionText(LoadOption option) {
    switch (option) {
    case LoadOption::VaporAsFeed:
        return "Vapor_as_Feed";
    case LoadOption::LiquidAsFeed:
        return "Liquid_as_Feed";
    case LoadOption::FeedAsFeed:
        break;
    }
    return "Feed_as_Feed";
}

void ApplyLoadOption(CaseFile& c, LoadOption option) {
    MixtureComponents& m = c.mixture;
    if (option == LoadOption::FeedAsFeed || m.Empty()) {
        return;
    }
    const bool vapour = option == LoadOption::VaporAsFeed;
    const std::span<const float> phase = vapour ? m.VaporMoleFractions() : m.LiquidMoleFractions();
    double sum = 0.0;
    for (float v : phase) {
        sum += v;
    }
    if (!std::isfinite(sum) || !AllFinite(phase) || sum <= 0.0) {
        const std::string name = vapour ? "vapour" : "liquid";
        throw CaseFileError(case_error::kInvalidValue,
                            "The case holds no " + name +
                                " composition from a flash. Open it with its feed as the feed, or "
                                "run the flash, save the case and open it again.");
    }
    std::copy(phase.begin(), phase.end(), m.FeedMoleFractions().begin());
    c.vapourFraction = vapour ? 1.0 : 0.0;
    const auto entered = EnteredFromFeed(m.FeedMoleFractions(), m.MolecularWeights(),
                                         static_cast<CompositionBasis>(c.basis));
    std::copy(entered.begin(), entered.end(), m.EnteredComposition().begin());
}

} // namespace quorvane
