#include "tools/spriteset_writer/writer/SpriteSetEncoder.h"

#include "Framework/core/io/ByteWriter.h"

#include <limits>
#include <stdexcept>
#include <string>

namespace zor::spriteset {
namespace {

class Encoder {
public:
    std::vector<std::uint8_t> encode(const SpriteSetDescription& description) {
        m_out.writeU32(0);  // not read by the game
        m_out.writeU32(0);
        m_out.writeU32(0);
        m_out.writeU32(description.framesPerSecond);
        writeCount(description.sprites.size(), "sprites in the set");
        for (const SpriteDefinition& sprite : description.sprites) writeSprite(sprite);
        const std::uint8_t* bytes = m_out.data().get();
        return std::vector<std::uint8_t>(bytes, bytes + m_out.size());
    }

private:
    void writeCount(std::size_t count, const std::string& what) {
        if (count > std::numeric_limits<std::uint16_t>::max()) {
            throw std::runtime_error("Too many " + what + " (" + std::to_string(count) + ", at most 65535)");
        }
        m_out.writeU16(static_cast<std::uint16_t>(count));
    }

    void writeText(const std::string& text) {
        if (text.size() > std::numeric_limits<std::uint16_t>::max()) {
            throw std::runtime_error("Text longer than 65535 bytes: " + text.substr(0, 40) + "...");
        }
        m_out.writeString(text);
    }

    void writeKey(const SpriteNodeState& key) {
        m_out.writeU32(key.firstFrame);
        m_out.writeU32(key.lastFrame);
        m_out.writeFloat(key.x);
        m_out.writeFloat(key.y);
        m_out.writeFloat(key.scaleX);
        m_out.writeFloat(key.scaleY);
        m_out.writeFloat(key.rotation);
        m_out.writeFloat(key.r);
        m_out.writeFloat(key.g);
        m_out.writeFloat(key.b);
        m_out.writeFloat(key.a);
        m_out.writeU8(key.visible ? 1 : 0);
    }

    void writeSprite(const SpriteDefinition& sprite) {
        m_out.writeU32(sprite.reserved);
        writeText(sprite.name);
        writeText(sprite.textureName);
        m_out.writeFloat(sprite.originX);
        m_out.writeFloat(sprite.originY);
        m_out.writeU32(sprite.frameCount);
        for (std::uint32_t value : sprite.reservedValues) m_out.writeU32(value);
        const std::string of = " of sprite '" + sprite.name + "'";
        writeCount(sprite.nodes.size(), "children" + of);
        writeCount(sprite.labels.size(), "labels" + of);
        writeCount(sprite.shapes.size(), "shapes" + of);
        for (const SpriteNodeDefinition& child : sprite.nodes) {
            writeText(child.name);
            writeText(child.definitionName);
            m_out.writeFloat(child.depth);
            m_out.writeFloat(child.x);
            m_out.writeFloat(child.y);
            m_out.writeFloat(child.rotation);
            m_out.writeFloat(child.scaleX);
            m_out.writeFloat(child.scaleY);
            m_out.writeU32(child.firstFrame);
            m_out.writeU32(child.lastFrame);
            m_out.writeFloat(child.r);
            m_out.writeFloat(child.g);
            m_out.writeFloat(child.b);
            m_out.writeFloat(child.a);
            m_out.writeU8(child.enabled ? 1 : 0);
            writeCount(child.keys.size(), "keys of child '" + child.name + "'" + of);
            for (const SpriteNodeState& key : child.keys) writeKey(key);
        }
        for (const auto& [frame, label] : sprite.labels) {
            m_out.writeU32(frame);
            writeText(label);
        }
        for (const SpriteShape& shape : sprite.shapes) {
            writeText(shape.name);
            m_out.writeU8(shape.type);
            writeCount(shape.keys.size(), "keys of shape '" + shape.name + "'" + of);
            writeCount(shape.coordinates.size(), "coordinates of shape '" + shape.name + "'" + of);
            for (const SpriteNodeState& key : shape.keys) writeKey(key);
            for (float coordinate : shape.coordinates) m_out.writeFloat(coordinate);
        }
    }

    ByteWriter m_out{4096};
};

} // namespace

std::vector<std::uint8_t> encodeSpriteSet(const SpriteSetDescription& description) {
    return Encoder().encode(description);
}

} // namespace zor::spriteset
