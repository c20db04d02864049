#include "game/definitions/VisualAttachment.h"

#include "Framework/core/xml/XmlValues.h"

namespace zor {

void readVisualAttachment(const pugi::xml_node& element, VisualAttachment& attachment) {
    attachment.sprite = xmlAttributeString(element, "Sprite", attachment.sprite);
    attachment.scale = xmlAttributeFloat(element, "Scale", attachment.scale);
    attachment.offset = xmlAttributeCast(element, "Offset", attachment.offset);
    attachment.loop = xmlAttributeBool(element, "Loop", attachment.loop);
    attachment.color = xmlAttributeCast(element, "Color", attachment.color);
    attachment.strength = xmlAttributeFloat(element, "Strength", attachment.strength);
}

} // namespace zor
