#include "Framework/graphics/effects/ShaderCache.h"

#include <boost/functional/hash.hpp>

#include <tuple>
#include <unordered_map>

namespace zor {

namespace {

using ShaderKey = std::tuple<std::string, std::string, std::string>;

struct ShaderKeyHash {
    std::size_t operator()(const ShaderKey& key) const {
        std::size_t seed = 0;
        boost::hash_combine(seed, std::get<0>(key));
        boost::hash_combine(seed, std::get<1>(key));
        boost::hash_combine(seed, std::get<2>(key));
        return seed;
    }
};

} // namespace

std::shared_ptr<OGLShader> getShader(const std::string& vertexFile, const std::string& fragmentFile,
                                     const std::string& defines) {
    static std::unordered_map<ShaderKey, std::shared_ptr<OGLShader>, ShaderKeyHash> cache;
    auto& slot = cache[ShaderKey(vertexFile, fragmentFile, defines)];
    if (!slot) slot = std::make_shared<OGLShader>(vertexFile, fragmentFile, defines);
    return slot;
}

} // namespace zor
