#include "tools/patch_compiler/compiler/SourceGrid.h"

#include <algorithm>

#include "game/world/level/TileType.h"

namespace zor {

namespace {

constexpr char kEmptyCell = '.';

char legendCharacter(const SourceElement& entry) {
    const std::string text = entry.requiredText("Char");
    const char c = text.empty() ? '\0' : text[0];
    if (text.size() != 1 || c <= ' ' || c > '~' || c == kEmptyCell)
        entry.fail("Char '" + text + "' is not one visible character other than '.'");
    return c;
}

std::uint16_t tileWord(const SourceElement& entry, const LegendNames& names) {
    const std::string type = entry.requiredText("Type");
    const auto found = names.tileTypes.find(type);
    if (found == names.tileTypes.end()) entry.fail("no tile type is named '" + type + "'");
    std::uint16_t word = found->second;
    if (entry.flag("MirrorX", false)) word |= TileWord::MirrorX;
    if (entry.flag("MirrorY", false)) word |= TileWord::MirrorY;
    if (entry.flag("Turn", false)) word |= TileWord::QuarterTurn;
    if (entry.flag("NotPresent", false)) word |= TileWord::NotPresent;
    return word;
}

std::uint16_t resourceIndex(const SourceElement& entry, const LegendNames& names) {
    const std::string name = entry.requiredText("Name");
    const auto found = std::find(names.resources.begin(), names.resources.end(), name);
    if (name.empty() || found == names.resources.end()) entry.fail("no resource of Definitions/resources.xml is named '" + name + "'");
    return static_cast<std::uint16_t>(found - names.resources.begin() + 1);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

} // namespace

Legend extendLegend(const Legend& outer, const SourceDocument& document, const std::vector<pugi::xml_node>& elements,
                    const LegendNames& names) {
    Legend result = outer;
    for (const pugi::xml_node& legend : elements) {
        if (std::string(legend.name()) != "Legend") continue;
        const SourceElement legendElement(document, legend, {});
        for (const pugi::xml_node& node : childElements(document, legendElement.node())) {
            const std::string kind = node.name();
            if (kind == "Tile") {
                const SourceElement entry(document, node, {"Char", "Type", "MirrorX", "MirrorY", "Turn", "NotPresent"});
                result.tiles[legendCharacter(entry)] = tileWord(entry, names);
            } else if (kind == "Resource") {
                const SourceElement entry(document, node, {"Char", "Name"});
                result.resources[legendCharacter(entry)] = resourceIndex(entry, names);
            } else {
                document.fail(document.lineOf(node), "a legend holds <Tile> and <Resource>, not <" + kind + ">");
            }
        }
    }
    return result;
}

std::vector<std::uint16_t> readGrid(const SourceElement& element, int rows, int columns,
                                    const std::map<char, std::uint16_t>& legend, std::uint16_t emptyCell,
                                    const char* what) {
    const SourceDocument& document = element.document();
    const pugi::xml_node textNode = element.node().first_child();
    const std::string text = element.node().child_value();
    int line = textNode ? document.lineOf(textNode) : element.line();
    std::vector<std::uint16_t> cells;
    cells.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns));
    int row = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::size_t first = start;
        std::size_t last = end;
        while (first < last && isBlank(text[first])) ++first;
        while (last > first && isBlank(text[last - 1])) --last;
        if (last > first) {
            if (row == rows) document.fail(line, std::string(what) + " has more than " + std::to_string(rows) + " rows");
            if (static_cast<int>(last - first) != columns)
                document.fail(line, std::string(what) + " row is " + std::to_string(last - first) +
                                        " characters wide, not " + std::to_string(columns));
            for (std::size_t i = first; i < last; ++i) {
                const char c = text[i];
                if (c == kEmptyCell) {
                    cells.push_back(emptyCell);
                    continue;
                }
                const auto found = legend.find(c);
                if (found == legend.end())
                    document.fail(line, std::string("'") + c + "' in the " + what + " is not in the legend");
                cells.push_back(found->second);
            }
            ++row;
        }
        start = end + 1;
        ++line;
    }
    if (row != rows)
        element.fail(std::string(what) + " has " + std::to_string(row) + " rows, not " + std::to_string(rows));
    return cells;
}

} // namespace zor
