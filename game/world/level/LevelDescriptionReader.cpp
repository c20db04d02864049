// LevelDefinition::load: the description file's elements in the order the level's fields
// are read. Absent elements and attributes keep the field's value; only the lists the
// builder cannot do without, and the attributes of decks and camera clamps, are required.

#include <cstring>
#include <exception>
#include <memory>

#include <boost/lexical_cast.hpp>

#include "Framework/core/Errors.h"
#include "Framework/core/text/TextUtils.h"
#include "Framework/core/xml/XmlFile.h"
#include "Framework/core/xml/XmlValues.h"
#include "game/world/level/LevelDefinition.h"

namespace zor {

namespace {

constexpr const char* kListSeparators = "; \t\r\n";

void readList(const std::string& text, std::vector<std::string>& list) { splitTokens(text, kListSeparators, list); }

void readBackdrop(const pugi::xml_node& node, Backdrop& backdrop) {
    const pugi::xml_node element = node.child("Backdrop");
    if (!element) return;
    backdrop.texture = element.child_value();
    backdrop.depth = xmlAttributeFloat(element, "Depth", backdrop.depth);
    backdrop.scale = xmlAttributeCast<fpVector2>(element, "Scale", backdrop.scale);
    backdrop.offset = xmlAttributeCast<fpVector2>(element, "Offset", backdrop.offset);
}

// `texts` lists the names of the codes 0, 1, 2, ...; an unmatched text keeps `value`.
template <class Enum, std::size_t N>
Enum matchedCode(const char* text, const char* const (&texts)[N], Enum value) {
    if (!text) return value;
    for (std::size_t code = 0; code < N; ++code)
        if (std::strcmp(text, texts[code]) == 0) return static_cast<Enum>(code);
    return value;
}

FillerField readFillerField(const pugi::xml_node& element) {
    static const char* const styles[] = {"basic", "abs", "rect", "circle"};
    FillerField field;
    field.hard = xmlAttributeBool(element, "Hard", field.hard);
    field.withinBorders = xmlAttributeBool(element, "WithinBorders", field.hard);
    field.tileset = xmlAttributeString(element, "Tileset", field.tileset);
    field.max = xmlAttributeFloat(element, "Max", field.max);
    field.freq = xmlAttributeFloat(element, "Freq", field.freq);
    field.freqX = xmlAttributeFloat(element, "FreqX", field.freqX);
    field.freqY = xmlAttributeFloat(element, "FreqY", field.freqY);
    field.octaves = xmlAttributeInt(element, "Octaves", field.octaves);
    field.persistence = xmlAttributeFloat(element, "Persistence", field.persistence);
    field.numberOfFields = xmlAttributeInt(element, "NumberOfFields", field.numberOfFields);
    field.minSizeX = xmlAttributeInt(element, "MinSizeX", field.minSizeX);
    field.minSizeY = xmlAttributeInt(element, "MinSizeY", field.minSizeY);
    field.maxSizeX = xmlAttributeInt(element, "MaxSizeX", field.maxSizeX);
    field.maxSizeY = xmlAttributeInt(element, "MaxSizeY", field.maxSizeY);
    field.radius = xmlAttributeInt(element, "Radius", field.radius);
    field.gap = xmlAttributeInt(element, "Gap", field.gap);
    const pugi::xml_attribute style = element.attribute("Style");
    field.style = matchedCode(style ? style.value() : nullptr, styles, field.style);
    return field;
}

// The "Fillers" child of `node` into `target`, with `source`'s values where it says nothing
// (the same record for the level's own fillers). Fields are never inherited.
void readFillerSettings(FillerSettings& target, const FillerSettings& source, const pugi::xml_node& node) {
    static const char* const borderStyles[] = {"Simplex", "Sinus", "Saw", "Square"};
    const pugi::xml_node fillers = node.child("Fillers");
    target.spacing = xmlChildInt(fillers, "Spacing", source.spacing);
    target.foreground = xmlChildString(fillers, "Foreground", source.foreground);
    target.midground = xmlChildString(fillers, "Midground", source.midground);
    target.background = xmlChildString(fillers, "Background", source.background);
    target.borders = xmlChildString(fillers, "Borders", source.borders);
    target.borderWidth = xmlChildInt(fillers, "BorderWidth", source.borderWidth);
    target.borderHeight = xmlChildInt(fillers, "BorderHeight", source.borderHeight);
    target.borderStyle = matchedCode(xmlChildText(fillers, "BorderStyle"), borderStyles, source.borderStyle);
    for (const pugi::xml_node& element : fillers.child("Fields").children())
        if (element.type() == pugi::node_element)
            target.fields.push_back(readFillerField(element));
    target.borderStyleValueA = xmlChildFloat(fillers, "BorderStyleValueA", source.borderStyleValueA);
    target.borderSymmetric = xmlChildBool(fillers, "BorderSymmetric", source.borderSymmetric);
}

LevelSlice readSlice(const pugi::xml_node& element, const FillerSettings& levelFillers) {
    LevelSlice slice;
    readBackdrop(element, slice.backdrop);
    slice.height = xmlAttributeInt(element, "Height", slice.height);
    slice.width = xmlAttributeInt(element, "Width", slice.width);
    readList(requireXmlChildText(element, "PatchSets"), slice.patchSets);
    readFillerSettings(slice.fillers, levelFillers, element);
    for (const pugi::xml_node& clamp : element.child("Clamps").children("Clamp"))
        slice.clamps.push_back({boost::lexical_cast<fpVector2>(requireXmlAttributeText(clamp, "Start")),
                                boost::lexical_cast<fpVector2>(requireXmlAttributeText(clamp, "End"))});
    const std::pair<const char*, const char*> resources[] = {
        {"Gems", "gem+0"}, {"SmallEggs", "egg_small"}, {"LargeEggs", "egg_large"}};
    for (const auto& [attribute, resource] : resources) {
        const int count = xmlAttributeInt(element, attribute, 0);
        if (count > 0) slice.resources.push_back({resource, count});
    }
    return slice;
}

void readDescription(LevelDefinition& level, const pugi::xml_node& root) {
    level.music = xmlChildString(root, "Music", level.music);
    level.environment = xmlChildString(root, "Environment", level.environment);
    const std::pair<const char*, bool*> switches[] = {
        {"AtSurface", &level.atSurface},
        {"SaveOnEnter", &level.saveOnEnter},
        {"SaveOnLeave", &level.saveOnLeave},
        {"DisableLight", &level.disableLight},
        {"DisableBuilding", &level.disableBuilding},
        {"ResetEarth", &level.resetEarth},
        {"ResetEntities", &level.resetEntities},
        {"IsCave", &level.isCave},
        {"CameraPadding", &level.cameraPadding},
        {"BordersDontClampCamera", &level.bordersDontClampCamera},
        {"PlayerInvulnerable", &level.playerInvulnerable},
    };
    for (const auto& [element, field] : switches)
        *field = xmlChildBool(root, element, *field);

    const pugi::xml_node density = root.child("ResourceDensity");
    level.resourceDensityConstant = xmlAttributeFloat(density, "Constant", level.resourceDensityConstant);
    level.resourceDensityLinear = xmlAttributeFloat(density, "Linear", level.resourceDensityLinear);
    level.resourceStartDepth = xmlChildInt(root, "ResourceStartDepth", level.resourceStartDepth);
    level.resourceTierLength = xmlChildFloat(root, "ResourceTierLength", level.resourceTierLength);
    level.resourceTierBias = xmlChildFloat(root, "ResourceTierBias", level.resourceTierBias);
    level.startDepth = xmlChildInt(root, "StartDepth", level.startDepth);
    level.randomResources = xmlChildBool(root, "RandomResources", level.randomResources);
    level.forceUpdateAll = xmlChildBool(root, "ForceUpdateAll", level.forceUpdateAll);

    readList(requireXmlChildText(root, "VeinTextures"), level.veinTextures);
    level.disableBuilding = level.disableBuilding || level.isCave;
    readBackdrop(root, level.backdrop);

    if (const pugi::xml_node hardness = root.child("TileHardness")) {
        level.hardnessDepthDelta = xmlAttributeInt(hardness, "DepthDelta", level.hardnessDepthDelta);
        level.hardnessConstant = xmlAttributeInt(hardness, "Constant", level.hardnessConstant);
        level.hardnessLinear = xmlAttributeFloat(hardness, "Linear", level.hardnessLinear);
        level.hardnessPower = xmlAttributeFloat(hardness, "Power", level.hardnessPower);
        level.hardnessMultiplier = xmlAttributeInt(hardness, "Multiplier", level.hardnessMultiplier);
    }

    level.fillers.spacing = 1;
    readFillerSettings(level.fillers, level.fillers, root);

    for (const pugi::xml_node& deck : root.child("PatchDecks").children("Deck"))
        level.patchDecks.push_back({requireXmlAttributeText(deck, "Name"), requireXmlAttributeInt(deck, "Positives"),
                                    requireXmlAttributeInt(deck, "Negatives")});
    for (const pugi::xml_node& slice : root.child("Slices").children("Slice"))
        level.slices.push_back(readSlice(slice, level.fillers));
}

std::unique_ptr<XmlFile> inMemory(const std::string& path, const std::string& text) {
    ByteArray bytes(new std::uint8_t[text.size() + 1]);
    std::memcpy(bytes.get(), text.data(), text.size());
    return std::make_unique<XmlFile>(path, std::move(bytes), text.size());
}

// Opens the description with `open` (path to document) and reads it; every failure becomes
// the level's load error.
template <class Open>
void loadDescription(LevelDefinition& level, const std::string& levelName, const PatchLibraryTables& library,
                     Open&& open) {
    const std::string path = levelDescriptionPath(levelName);
    try {
        const std::unique_ptr<XmlFile> file = open(path);
        level.name = levelName;
        readDescription(level, file->root());
        level.computeSize(library);
    } catch (const std::exception& error) {
        throw CheckReleaseError("Could not load level " + path + ": " + error.what());
    }
}

} // namespace

void LevelDefinition::load(const std::string& levelName, const PatchLibraryTables& library) {
    loadDescription(*this, levelName, library, [](const std::string& path) { return std::make_unique<XmlFile>(path); });
}

void LevelDefinition::load(const std::string& levelName, const std::string& text, const PatchLibraryTables& library) {
    loadDescription(*this, levelName, library, [&text](const std::string& path) { return inMemory(path, text); });
}

} // namespace zor
