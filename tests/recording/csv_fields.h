#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace lq::testing {

// The comma-separated fields of a recorded line, an empty last field included.
inline std::vector<std::string> CsvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    std::string field;
    while (std::getline(in, field, ','))
        fields.push_back(field);
    if (!line.empty() && line.back() == ',') fields.emplace_back();
    return fields;
}

} // namespace lq::testing
