#pragma once

// Minimal reader for the verification tables: a header line, then comma-separated rows whose
// fields may be quoted. Fields are looked up by column name.

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace dadez_test {

class CsvTable {
public:
    explicit CsvTable(const std::string& path) {
        std::ifstream in(path);
        if (!in) {
            throw std::runtime_error("cannot open " + path);
        }
        std::string line;
        std::getline(in, line);
        const std::vector<std::string> header = Split(line);
        for (std::size_t i = 0; i < header.size(); ++i) {
            m_columns[header[i]] = i;
        }
        while (std::getline(in, line)) {
            if (!line.empty()) {
                m_rows.push_back(Split(line));
            }
        }
    }

    std::size_t Rows() const { return m_rows.size(); }
    const std::string& Text(std::size_t row, const std::string& column) const {
        return m_rows.at(row).at(m_columns.at(column));
    }
    double Number(std::size_t row, const std::string& column) const {
        return std::stod(Text(row, column));
    }

private:
    static std::vector<std::string> Split(const std::string& line) {
        std::vector<std::string> fields(1);
        bool quoted = false;
        for (char c : line) {
            if (c == '"') {
                quoted = !quoted;
            } else if (c == ',' && !quoted) {
                fields.emplace_back();
            } else if (c != '\r') {
                fields.back() += c;
            }
        }
        return fields;
    }

    std::map<std::string, std::size_t> m_columns;
    std::vector<std::vector<std::string>> m_rows;
};

inline std::string DataPath(const std::string& file) {
    return std::string(QUORVANE_DADEZ_TEST_DATA) + "/" + file;
}

} // namespace dadez_test
