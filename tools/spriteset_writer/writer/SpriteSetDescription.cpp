#include "tools/spriteset_writer/writer/SpriteSetDescription.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace zor::spriteset {
namespace {

constexpr double degreesToRadians = 3.14159265358979323846 / 180.0;
constexpr std::uint32_t everyFrame = std::numeric_limits<std::uint32_t>::max();

class DescriptionParser {
public:
    DescriptionParser(const std::string& text, const std::string& sourceName)
        : m_text(text), m_source(sourceName) {}

    SpriteSetDescription parse() {
        const pugi::xml_parse_result result = m_document.load_buffer(m_text.data(), m_text.size());
        if (!result) fail(static_cast<std::ptrdiff_t>(result.offset), result.description());
        const pugi::xml_node root = m_document.document_element();
        if (std::string(root.name()) != "SpriteSet") fail(root, "the root element must be <SpriteSet>");
        allowAttributes(root, {"FramesPerSecond", "PageSize", "Padding"});

        SpriteSetDescription set;
        set.framesPerSecond = readUnsigned(root, "FramesPerSecond", set.framesPerSecond);
        set.pageSize = static_cast<int>(readUnsigned(root, "PageSize", static_cast<std::uint32_t>(set.pageSize)));
        set.padding = static_cast<int>(readUnsigned(root, "Padding", static_cast<std::uint32_t>(set.padding)));
        if (set.pageSize < 1 || set.pageSize > 16384) fail(root, "PageSize must be 1 to 16384");
        if (set.padding > 1024) fail(root, "Padding must be at most 1024");

        for (const pugi::xml_node element : root.children()) {
            if (element.type() != pugi::node_element) continue;
            const std::string kind = element.name();
            if (kind == "Image") {
                set.images.push_back(readImage(element));
            } else if (kind == "Sprite") {
                set.sprites.push_back(readSprite(element));
            } else {
                fail(element, "unknown element <" + kind + "> in <SpriteSet>");
            }
        }
        return set;
    }

private:
    [[noreturn]] void fail(std::ptrdiff_t offset, const std::string& reason) const {
        const std::size_t end = offset < 0 ? 0 : std::min(static_cast<std::size_t>(offset), m_text.size());
        const auto line = 1 + std::count(m_text.begin(), m_text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
        throw std::runtime_error(m_source + ":" + std::to_string(line) + ": " + reason);
    }
    [[noreturn]] void fail(const pugi::xml_node& node, const std::string& reason) const {
        fail(node.offset_debug(), reason);
    }
    [[noreturn]] void badValue(const pugi::xml_node& node, const char* attribute, const std::string& expected) const {
        fail(node, "attribute " + std::string(attribute) + "=\"" + node.attribute(attribute).value() + "\" of <" +
                       node.name() + "> is not " + expected);
    }

    void allowAttributes(const pugi::xml_node& node, std::initializer_list<const char*> names) const {
        for (const pugi::xml_attribute attribute : node.attributes()) {
            const bool known = std::any_of(names.begin(), names.end(), [&attribute](const char* name) {
                return std::string(name) == attribute.name();
            });
            if (!known) fail(node, "unknown attribute " + std::string(attribute.name()) + " of <" + node.name() + ">");
        }
    }

    void allowChildren(const pugi::xml_node& node, std::initializer_list<const char*> names) const {
        for (const pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            const bool known = std::any_of(names.begin(), names.end(),
                                           [&child](const char* name) { return std::string(name) == child.name(); });
            if (!known) fail(child, "unknown element <" + std::string(child.name()) + "> in <" + node.name() + ">");
        }
    }

    std::string requireText(const pugi::xml_node& node, const char* attribute) const {
        const pugi::xml_attribute found = node.attribute(attribute);
        if (!found || !*found.value()) fail(node, "<" + std::string(node.name()) + "> needs a " + attribute);
        return found.value();
    }

    static bool parseFloat(const std::string& text, float& out) {
        if (text.empty() || std::isspace(static_cast<unsigned char>(text.front()))) return false;
        char* end = nullptr;
        errno = 0;
        const float value = std::strtof(text.c_str(), &end);
        if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(value)) return false;
        out = value;
        return true;
    }

    // Numbers separated by ";", exactly `count` of them.
    bool parseFloats(const std::string& text, float* out, std::size_t count) const {
        std::size_t start = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t end = i + 1 < count ? text.find(';', start) : text.size();
            if (end == std::string::npos || !parseFloat(text.substr(start, end - start), out[i])) return false;
            start = end + 1;
        }
        return true;
    }

    static bool parseUnsigned(const std::string& text, std::uint32_t& out) {
        if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 10) {
            return false;
        }
        const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
        if (value > std::numeric_limits<std::uint32_t>::max()) return false;
        out = static_cast<std::uint32_t>(value);
        return true;
    }

    std::uint32_t readUnsigned(const pugi::xml_node& node, const char* attribute, std::uint32_t fallback) const {
        const pugi::xml_attribute found = node.attribute(attribute);
        if (!found) return fallback;
        std::uint32_t value = 0;
        if (!parseUnsigned(found.value(), value)) badValue(node, attribute, "a whole number from 0 to 4294967295");
        return value;
    }

    float readFloat(const pugi::xml_node& node, const char* attribute, float fallback) const {
        const pugi::xml_attribute found = node.attribute(attribute);
        if (!found) return fallback;
        float value = 0.0f;
        if (!parseFloat(found.value(), value)) badValue(node, attribute, "a number");
        return value;
    }

    float readDegrees(const pugi::xml_node& node, float fallbackRadians) const {
        const pugi::xml_attribute found = node.attribute("Rotation");
        if (!found) return fallbackRadians;
        return static_cast<float>(readFloat(node, "Rotation", 0.0f) * degreesToRadians);
    }

    void readFloats(const pugi::xml_node& node, const char* attribute, std::initializer_list<float*> out) const {
        const pugi::xml_attribute found = node.attribute(attribute);
        if (!found) return;
        float values[4] = {};
        if (!parseFloats(found.value(), values, out.size())) {
            badValue(node, attribute, std::to_string(out.size()) + " numbers separated by ';'");
        }
        std::size_t i = 0;
        for (float* target : out) *target = values[i++];
    }

    void readFrames(const pugi::xml_node& node, const char* attribute, std::uint32_t& first, std::uint32_t& last) const {
        const pugi::xml_attribute found = node.attribute(attribute);
        if (!found) return;
        const std::string text = found.value();
        const std::size_t semicolon = text.find(';');
        std::uint32_t a = 0, b = 0;
        if (semicolon == std::string::npos || !parseUnsigned(text.substr(0, semicolon), a) ||
            !parseUnsigned(text.substr(semicolon + 1), b)) {
            badValue(node, attribute, "a frame range \"first;last\"");
        }
        if (a > b) badValue(node, attribute, "a frame range whose first frame is not after its last");
        first = a;
        last = b;
    }

    bool readBool(const pugi::xml_node& node, const char* attribute, bool fallback) const {
        const pugi::xml_attribute found = node.attribute(attribute);
        if (!found) return fallback;
        const std::string text = found.value();
        if (text == "true" || text == "1") return true;
        if (text == "false" || text == "0") return false;
        badValue(node, attribute, "true or false");
    }

    ImageDescription readImage(const pugi::xml_node& node) const {
        allowAttributes(node, {"Name", "File"});
        allowChildren(node, {});
        ImageDescription image;
        image.file = requireText(node, "File");
        image.name = node.attribute("Name").value();
        if (image.name.empty()) {
            const std::size_t slash = image.file.find_last_of("/\\");
            image.name = image.file.substr(slash == std::string::npos ? 0 : slash + 1);
            const std::size_t dot = image.name.rfind('.');
            if (dot != std::string::npos) image.name.erase(dot);
        }
        return image;
    }

    SpriteNodeState readKey(const pugi::xml_node& node, std::uint32_t firstFrame, std::uint32_t lastFrame) const {
        allowAttributes(node, {"Frames", "Position", "Scale", "Rotation", "Color", "Visible"});
        allowChildren(node, {});
        SpriteNodeState key;
        key.firstFrame = firstFrame;
        key.lastFrame = lastFrame;
        readFrames(node, "Frames", key.firstFrame, key.lastFrame);
        readFloats(node, "Position", {&key.x, &key.y});
        readFloats(node, "Scale", {&key.scaleX, &key.scaleY});
        key.rotation = readDegrees(node, key.rotation);
        readFloats(node, "Color", {&key.r, &key.g, &key.b, &key.a});
        key.visible = readBool(node, "Visible", key.visible);
        return key;
    }

    SpriteNodeDefinition readChild(const pugi::xml_node& node) const {
        allowAttributes(node,
                        {"Name", "Sprite", "Depth", "Position", "Rotation", "Scale", "Life", "Color", "Enabled"});
        allowChildren(node, {"Key"});
        SpriteNodeDefinition child;
        child.name = requireText(node, "Name");
        child.definitionName = requireText(node, "Sprite");
        child.depth = readFloat(node, "Depth", child.depth);
        readFloats(node, "Position", {&child.x, &child.y});
        child.rotation = readDegrees(node, child.rotation);
        readFloats(node, "Scale", {&child.scaleX, &child.scaleY});
        readFrames(node, "Life", child.firstFrame, child.lastFrame);
        readFloats(node, "Color", {&child.r, &child.g, &child.b, &child.a});
        child.enabled = readBool(node, "Enabled", child.enabled);
        for (const pugi::xml_node key : node.children("Key")) {
            child.keys.push_back(readKey(key, child.firstFrame, child.lastFrame));
        }
        return child;
    }

    SpriteShape readShape(const pugi::xml_node& node) const {
        allowAttributes(node, {"Name", "Type", "Points"});
        allowChildren(node, {"Key"});
        SpriteShape shape;
        shape.name = node.attribute("Name").value();
        const std::uint32_t type = readUnsigned(node, "Type", 0);
        if (type > 255) badValue(node, "Type", "a shape type from 0 to 255");
        shape.type = static_cast<std::uint8_t>(type);
        std::istringstream points(node.attribute("Points").value());
        for (std::string pair; points >> pair;) {
            float xy[2];
            if (!parseFloats(pair, xy, 2)) badValue(node, "Points", "a list of points \"x;y\" separated by blanks");
            shape.coordinates.push_back(xy[0]);
            shape.coordinates.push_back(xy[1]);
        }
        for (const pugi::xml_node key : node.children("Key")) shape.keys.push_back(readKey(key, 0, everyFrame));
        return shape;
    }

    SpriteDefinition readSprite(const pugi::xml_node& node) const {
        allowAttributes(node, {"Name", "Texture", "Origin", "Frames"});
        allowChildren(node, {"Label", "Child", "Shape"});
        SpriteDefinition sprite;
        sprite.name = requireText(node, "Name");
        sprite.textureName = node.attribute("Texture").value();
        readFloats(node, "Origin", {&sprite.originX, &sprite.originY});
        sprite.frameCount = readUnsigned(node, "Frames", 0);
        for (const pugi::xml_node element : node.children()) {
            if (element.type() != pugi::node_element) continue;
            const std::string kind = element.name();
            if (kind == "Label") {
                allowAttributes(element, {"Frame", "Text"});
                allowChildren(element, {});
                sprite.labels[readUnsigned(element, "Frame", 0)] = requireText(element, "Text");
            } else if (kind == "Child") {
                sprite.nodes.push_back(readChild(element));
            } else {
                sprite.shapes.push_back(readShape(element));
            }
        }
        return sprite;
    }

    const std::string& m_text;
    std::string m_source;
    pugi::xml_document m_document;
};

} // namespace

SpriteSetDescription parseSpriteSetDescription(const std::string& text, const std::string& sourceName) {
    return DescriptionParser(text, sourceName).parse();
}

SpriteSetDescription readSpriteSetDescription(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("Could not open sprite set description " + path);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return parseSpriteSetDescription(text, path);
}

} // namespace zor::spriteset
