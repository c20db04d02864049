#include "Framework/input/InputVariables.h"

#include <boost/lexical_cast.hpp>

#include <unordered_map>

namespace zor {
namespace {

std::unordered_map<std::string, float>& variables() {
    static std::unordered_map<std::string, float> map = [] {
        std::unordered_map<std::string, float> m(11);
        m.max_load_factor(1.0f);
        return m;
    }();
    return map;
}

} // namespace

float& InputVariables::set(const std::string& name) {
    return variables()[name];
}

bool InputVariables::find(const std::string& name, float& value) {
    auto found = variables().find(name);
    if (found == variables().end()) return false;
    value = found->second;
    return true;
}

bool findInputVariable(const std::string& name, float& value) {
    return InputVariables::find(name, value);
}

float evaluateInputValue(const std::string& text) {
    float value = 0.0f;
    if (findInputVariable(text, value)) return value;
    return boost::conversion::try_lexical_convert(text, value) ? value : 0.0f;
}

} // namespace zor
