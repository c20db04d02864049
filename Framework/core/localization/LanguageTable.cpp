#include "Framework/core/localization/LanguageTable.h"

#include <boost/algorithm/string/replace.hpp>
#include <boost/algorithm/string/trim.hpp>

namespace zor {

namespace {

std::string decodeField(std::string field) {
    boost::algorithm::replace_all(field, "\\n", "\n");
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"') field = field.substr(1, field.size() - 2);
    return field;
}

// Splits at tabs, dropping empty fields; stops counting past four, which is too many anyway.
std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (start < line.size() && fields.size() < 4) {
        std::size_t tab = line.find('\t', start);
        if (tab == std::string::npos) tab = line.size();
        if (tab > start) fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    return fields;
}

} // namespace

void readLanguageTable(const std::vector<std::string>& lines, LanguageTable& table) {
    for (const std::string& line : lines) {
        if (!line.empty() && line[0] == '#') continue;
        if (boost::algorithm::trim_copy(line).empty()) continue;
        const std::vector<std::string> fields = fieldsOf(line);
        if (fields.size() != 2 && fields.size() != 3) continue;
        table.emplace(decodeField(fields[0]), decodeField(fields[1]));
    }
}

} // namespace zor
