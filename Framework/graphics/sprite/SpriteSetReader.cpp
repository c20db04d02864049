// readSpriteSet: the binary layout of "spriteset.dat" (little-endian; strings are a 16-bit
// byte count and the bytes).
//
// header:     skipped u32, two reserved u32, frames per second u32, definition count u16
// definition: reserved u32, name, texture name, origin x y f32, frame count u32,
//             three reserved u32, child count u16, label count u16, shape count u16,
//             the children, the labels (frame u32, text), the shapes
// child:      name, definition name, depth f32, x y f32, rotation f32, scale x y f32,
//             first and last frame u32, colour r g b a f32, enabled u8, key count u16, keys
// key:        45 bytes: first and last frame u32, x y f32, scale x y f32, rotation f32,
//             colour r g b a f32, visible u8
// shape:      name, type u8, key count u16, coordinate count u16, keys, coordinates f32

#include "Framework/graphics/sprite/SpriteSet.h"

#include "Framework/core/Errors.h"
#include "Framework/core/io/ByteReader.h"
#include "Framework/core/text/TextUtils.h"

#include <algorithm>
#include <iterator>

namespace zor {
namespace {

constexpr std::size_t keyBytes = 45;

class SpriteSetFileReader {
public:
    SpriteSetFileReader(const ByteArray& data, std::size_t size, SpriteSet& set)
        : m_in(data, size), m_set(set) {}

    void read() {
        m_in.readU32();
        m_set.reservedHeader[0] = m_in.readU32();
        m_set.reservedHeader[1] = m_in.readU32();
        m_set.framesPerSecond = m_in.readU32();
        const std::uint16_t count = m_in.readU16();
        if (m_in.overflow()) truncated("inside its header");
        m_set.definitions.reserve(std::min<std::size_t>(count, m_in.remaining()));
        for (std::uint16_t i = 0; i < count; ++i) {
            auto definition = std::make_unique<SpriteDefinition>();
            readDefinition(*definition);
            if (m_in.overflow()) {
                truncated("inside definition " + std::to_string(i + 1) + " of " + std::to_string(count) +
                          (definition->name.empty() ? std::string() : " ('" + definition->name + "')"));
            }
            m_set.definitions.push_back(std::move(definition));
        }
    }

private:
    [[noreturn]] void truncated(const std::string& where) {
        throw CheckReleaseError("Sprite set '" + m_set.folder() + "': spriteset.dat is truncated " + where);
    }

    // Room for at most `count` records of `bytes` each in what is left, so a damaged count
    // cannot make a large reservation.
    std::size_t roomFor(std::size_t count, std::size_t bytes) const {
        return std::min(count, m_in.remaining() / bytes);
    }

    void readDefinition(SpriteDefinition& definition) {
        definition.reserved = m_in.readU32();
        m_in.readString(definition.name);
        m_in.readString(definition.textureName);
        m_in.readFloat(definition.originX);
        m_in.readFloat(definition.originY);
        definition.frameCount = m_in.readU32();
        for (std::uint32_t& value : definition.reservedValues) value = m_in.readU32();
        const std::uint16_t childCount = m_in.readU16();
        const std::uint16_t labelCount = m_in.readU16();
        const std::uint16_t shapeCount = m_in.readU16();

        definition.nodes.reserve(roomFor(childCount, 1));
        for (std::uint16_t i = 0; i < childCount && !m_in.overflow(); ++i) {
            definition.nodes.emplace_back();
            readNode(definition.nodes.back());
        }
        for (std::uint16_t i = 0; i < labelCount && !m_in.overflow(); ++i) {
            const std::uint32_t frame = m_in.readU32();
            std::string label = m_in.readStringValue();
            if (!m_in.overflow()) definition.labels[frame] = std::move(label);
        }
        definition.shapes.reserve(roomFor(shapeCount, 1));
        for (std::uint16_t i = 0; i < shapeCount && !m_in.overflow(); ++i) {
            definition.shapes.emplace_back();
            readShape(definition.shapes.back());
        }
        makeAnimations(definition);
    }

    void readNode(SpriteNodeDefinition& node) {
        m_in.readString(node.name);
        m_in.readString(node.definitionName);
        m_in.readFloat(node.depth);
        m_in.readFloat(node.x);
        m_in.readFloat(node.y);
        m_in.readFloat(node.rotation);
        m_in.readFloat(node.scaleX);
        m_in.readFloat(node.scaleY);
        node.firstFrame = m_in.readU32();
        node.lastFrame = m_in.readU32();
        m_in.readFloat(node.r);
        m_in.readFloat(node.g);
        m_in.readFloat(node.b);
        m_in.readFloat(node.a);
        node.enabled = m_in.readU8() != 0;
        readKeys(node.keys);

        std::string base = node.name;
        std::vector<OptionalSettingValue> parameters;
        parseNameParameters(base, parameters);
        node.nameParameters.reserve(parameters.size());
        for (OptionalSettingValue& parameter : parameters) node.nameParameters.push_back(std::move(parameter.value));
    }

    void readKeys(std::vector<SpriteNodeState>& keys) {
        const std::uint16_t count = m_in.readU16();
        readKeys(keys, count);
    }

    void readKeys(std::vector<SpriteNodeState>& keys, std::uint16_t count) {
        keys.reserve(roomFor(count, keyBytes));
        for (std::uint16_t i = 0; i < count && !m_in.overflow(); ++i) {
            SpriteNodeState key;
            key.firstFrame = m_in.readU32();
            key.lastFrame = m_in.readU32();
            m_in.readFloat(key.x);
            m_in.readFloat(key.y);
            m_in.readFloat(key.scaleX);
            m_in.readFloat(key.scaleY);
            m_in.readFloat(key.rotation);
            m_in.readFloat(key.r);
            m_in.readFloat(key.g);
            m_in.readFloat(key.b);
            m_in.readFloat(key.a);
            key.visible = m_in.readU8() != 0;
            if (!m_in.overflow()) keys.push_back(key);
        }
    }

    void readShape(SpriteShape& shape) {
        m_in.readString(shape.name);
        shape.type = m_in.readU8();
        const std::uint16_t keyCount = m_in.readU16();
        const std::uint16_t coordinateCount = m_in.readU16();
        readKeys(shape.keys, keyCount);
        shape.coordinates.reserve(roomFor(coordinateCount, 4));
        for (std::uint16_t i = 0; i < coordinateCount && !m_in.overflow(); ++i) {
            float value = 0.0f;
            m_in.readFloat(value);
            if (!m_in.overflow()) shape.coordinates.push_back(value);
        }
    }

    // Each label's range runs to the frame before the next label, the last one to the end
    // of the timeline; a name used on several frames keeps its highest range.
    static void makeAnimations(SpriteDefinition& definition) {
        for (auto label = definition.labels.begin(); label != definition.labels.end(); ++label) {
            const auto next = std::next(label);
            const std::uint32_t last = next == definition.labels.end() ? definition.frameCount - 1 : next->first - 1;
            definition.animations[label->second] = SpriteFrameRange{label->first, last};
        }
    }

    ByteReader m_in;
    SpriteSet& m_set;
};

} // namespace

std::shared_ptr<SpriteSet> readSpriteSet(const ByteArray& data, std::size_t size, const std::string& folder) {
    auto set = std::make_shared<SpriteSet>(folder);
    SpriteSetFileReader(data, size, *set).read();
    set->link();
    return set;
}

} // namespace zor
