#include "data/csv.h"

namespace quorvane {

std::vector<CsvRow> ReadCsv(std::istream& in) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;
    bool rowHasContent = false;
    char c = 0;
    auto endField = [&] {
        row.push_back(std::move(field));
        field.clear();
    };
    auto endRow = [&] {
        if (rowHasContent) {
            endField();
            rows.push_back(std::move(row));
        }
        row.clear();
        field.clear();
        rowHasContent = false;
    };
    while (in.get(c)) {
        if (quoted) {
            if (c == '"') {
                if (in.peek() == '"') {
                    in.get(c);
                    field += '"';
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        switch (c) {
        case '"':
            quoted = true;
            rowHasContent = true;
            break;
        case ',':
            endField();
            rowHasContent = true;
            break;
        case '\r':
            break;
        case '\n':
            endRow();
            break;
        default:
            field += c;
            rowHasContent = true;
            break;
        }
    }
    endRow();
    return rows;
}

} // namespace quorvane
