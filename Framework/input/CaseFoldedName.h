#pragma once
// Hash and equality for maps whose keys are names compared without regard to
// letter case: "Key.Space", "KEY.SPACE" and "key.space" are one name.

#include <cctype>
#include <cstddef>
#include <string>

namespace zor {

struct CaseFoldedHash {
    std::size_t operator()(const std::string& name) const {
        std::size_t hash = 14695981039346656037ull;
        for (unsigned char c : name) {
            hash ^= static_cast<unsigned char>(std::toupper(c));
            hash *= 1099511628211ull;
        }
        return hash;
    }
};

struct CaseFoldedEqual {
    bool operator()(const std::string& a, const std::string& b) const {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
                return false;
        }
        return true;
    }
};

} // namespace zor
