#include "app/bip_table_file.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace quorvane {

namespace {

std::string Escape(const std::string& cell) {
    std::string out;
    out.reserve(cell.size());
    for (char c : cell) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::vector<std::string> SplitRow(const std::string& line, std::size_t lineNumber) {
    std::vector<std::string> cells(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\t') {
            cells.emplace_back();
        } else if (c == '\\') {
            if (i + 1 >= line.size()) {
                throw BipTableFileError("Line " + std::to_string(lineNumber) +
                                        " ends inside an escape.");
            }
            const char next = line[++i];
            switch (next) {
            case '\\':
                cells.back() += '\\';
                break;
            case 't':
                cells.back() += '\t';
                break;
            case 'r':
                cells.back() += '\r';
                break;
            case 'n':
                cells.back() += '\n';
                break;
            default:
                throw BipTableFileError("Line " + std::to_string(lineNumber) +
                                        " has an unknown escape.");
            }
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

std::size_t ParseCount(const std::string& text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 100000) {
        throw BipTableFileError("The table size \"" + text + "\" is not a valid count.");
    }
    return value;
}

// One line without its end; a carriage return before the line feed (a file that passed
// through a Windows editor) is part of the line end, since cells write theirs escaped.
bool GetLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

} // namespace

std::string WriteBipTable(const BipGrid& grid) {
    std::ostringstream out;
    const std::size_t columns = grid.empty() ? 0 : grid.front().size();
    out << kBipTableFileHeader << '\n' << grid.size() << '\t' << columns << '\n';
    for (const auto& row : grid) {
        for (std::size_t c = 0; c < columns; ++c) {
            if (c > 0) {
                out << '\t';
            }
            out << (c < row.size() ? Escape(row[c]) : std::string());
        }
        out << '\n';
    }
    return out.str();
}

BipGrid ReadBipTable(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!GetLine(in, line) || line != kBipTableFileHeader) {
        throw BipTableFileError("This is not a Quorvane BIP table file.");
    }
    if (!GetLine(in, line)) {
        throw BipTableFileError("The table size is missing.");
    }
    const std::size_t tab = line.find('\t');
    if (tab == std::string::npos) {
        throw BipTableFileError("The table size is missing.");
    }
    const std::size_t rows = ParseCount(line.substr(0, tab));
    const std::size_t columns = ParseCount(line.substr(tab + 1));
    BipGrid grid;
    grid.reserve(rows);
    for (std::size_t r = 0; r < rows; ++r) {
        if (!GetLine(in, line)) {
            throw BipTableFileError("The file ends before row " + std::to_string(r + 1) + ".");
        }
        auto cells = SplitRow(line, r + 3);
        if (columns == 0 && cells.size() == 1 && cells.front().empty()) {
            cells.clear();
        }
        if (cells.size() != columns) {
            throw BipTableFileError("Row " + std::to_string(r + 1) + " has " +
                                    std::to_string(cells.size()) + " cells instead of " +
                                    std::to_string(columns) + ".");
        }
        grid.push_back(std::move(cells));
    }
    return grid;
}

void SaveBipTableFile(const std::filesystem::path& path, const BipGrid& grid) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw BipTableFileError("The file " + path.string() + " cannot be written.");
    }
    out << WriteBipTable(grid);
    if (!out.flush()) {
        throw BipTableFileError("Writing " + path.string() + " failed.");
    }
}

BipGrid LoadBipTableFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw BipTableFileError("The file " + path.string() + " cannot be opened.");
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ReadBipTable(text.str());
}

} // namespace quorvane
