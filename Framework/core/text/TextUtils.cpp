#include "Framework/core/text/TextUtils.h"

#include "Framework/core/settings/SettingValue.h"

#include <boost/algorithm/string/trim.hpp>

#include <chrono>
#include <cmath>
#include <thread>

namespace zor {

namespace {

bool isPathTrim(char c) { return c == ' ' || c == '/'; }

std::string_view trimEnd(std::string_view text) {
    while (!text.empty() && isPathTrim(text.back())) text.remove_suffix(1);
    return text;
}

std::string_view trimBoth(std::string_view text) {
    while (!text.empty() && isPathTrim(text.front())) text.remove_prefix(1);
    return trimEnd(text);
}

bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// Path tokens: each "/" is a token of its own, the text between them another.
std::vector<std::string> pathTokens(const std::string& path) {
    std::vector<std::string> tokens;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t slash = path.find('/', start);
        if (slash == std::string::npos) slash = path.size();
        if (slash > start) tokens.push_back(path.substr(start, slash - start));
        if (slash < path.size()) tokens.emplace_back("/");
        start = slash + 1;
    }
    return tokens;
}

} // namespace

std::string joinPath(const std::string& base, const std::string& name) {
    const std::string_view head = trimEnd(base);
    const std::string_view tail = trimBoth(name);
    if (head.empty()) return std::string(tail);
    std::string result;
    result.reserve(head.size() + 1 + tail.size());
    result.append(head).append("/").append(tail);
    return result;
}

std::string fileNameOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string directoryOf(const std::string& path) {
    const std::size_t cut = path.rfind('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string extensionOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string removeExtension(const std::string& path) {
    const std::size_t cut = path.find_last_of("./\\");
    if (cut == std::string::npos || path[cut] != '.') return path;
    return path.substr(0, cut);
}

std::string toForwardSlashes(const std::string& path) {
    std::string result = path;
    for (char& c : result)
        if (c == '\\') c = '/';
    return result;
}

std::string relativePath(const std::string& path, const std::string& base) {
    const std::vector<std::string> from = pathTokens(directoryOf(base));
    const std::vector<std::string> to = pathTokens(path);
    std::size_t common = 0;
    while (common < from.size() && common < to.size() && from[common] == to[common]) ++common;

    std::string up;
    for (std::size_t i = common; i < from.size(); ++i) {
        if (from[i] == "/") continue;
        up += up.empty() ? ".." : "/..";
    }
    std::string rest;
    for (std::size_t i = common; i < to.size(); ++i) rest += to[i];
    return joinPath(up, rest);
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t position = 0;
    for (;;) {
        std::size_t end = position;
        while (end < text.size() && !isLineBreak(text[end])) ++end;
        lines.emplace_back(text.substr(position, end - position));
        if (end == text.size()) break;
        position = end + 1;
        if (position < text.size() && isLineBreak(text[position]) && text[position] != text[end]) ++position;
    }
    return lines;
}

bool isTrue(std::string_view text) {
    static constexpr std::string_view word = "true";
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if ((text[i] | 0x20) != word[i]) return false;
    return true;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::size_t splitTokens(std::string_view text, std::string_view separators, std::vector<std::string>& pieces) {
    std::size_t count = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) {
            pieces.emplace_back(text.substr(start, end - start));
            ++count;
        }
        start = end + 1;
    }
    return count;
}

std::size_t parseOptionList(const std::string& name, std::vector<OptionalSettingValue>& values) {
    const std::size_t open = name.rfind('[');
    const std::size_t close = name.rfind(']');
    if (open == std::string::npos || close == std::string::npos || close < open) return 0;
    std::size_t count = 0;
    std::size_t start = open + 1;
    while (start < close) {
        std::size_t comma = name.find(',', start);
        if (comma == std::string::npos || comma > close) comma = close;
        if (comma > start) {
            values.emplace_back(SettingValue(boost::algorithm::trim_copy(name.substr(start, comma - start))));
            ++count;
        }
        start = comma + 1;
    }
    return count;
}

std::size_t parseNameParameters(std::string& name, std::vector<OptionalSettingValue>& values) {
    const std::size_t first = name.find("__");
    if (first == std::string::npos) return 0;
    std::size_t count = 0;
    for (std::size_t at = first; at != std::string::npos; ++count) {
        const std::size_t next = name.find("__", at + 2);
        const std::size_t end = next == std::string::npos ? name.size() : next;
        values.emplace_back(SettingValue(name.substr(at + 2, end - at - 2)));
        at = next;
    }
    name.erase(first);
    return count;
}

void sleepSeconds(double seconds) {
    if (!(seconds > 0.0)) return;
    const auto microseconds = static_cast<long long>(seconds * 1e6);
    const auto milliseconds = std::llround(static_cast<double>(microseconds) / 1000.0);
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace zor
