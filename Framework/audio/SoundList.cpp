#include "Framework/audio/SoundList.h"

#include "Framework/core/log/LogHandler.h"
#include "Framework/core/xml/XmlFile.h"
#include "Framework/core/xml/XmlValues.h"

#include <boost/lexical_cast.hpp>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <unordered_map>

namespace zor {

namespace {

bool truthOf(const std::string& text) {
    return !text.empty() && std::string("1TYty").find(text[0]) != std::string::npos;
}

float rangeNumber(const std::string& number, const std::string& range) {
    try {
        return boost::lexical_cast<float>(number);
    } catch (const boost::bad_lexical_cast&) {
        throw std::runtime_error("Invalid range: " + range);
    }
}

// One number (minimum = maximum) or two joined by "-".
void readRange(const pugi::xml_node& node, const char* name, float& minimum, float& maximum) {
    const std::string text = requireXmlChildText(node, name);
    const std::size_t dash = text.find('-');
    minimum = rangeNumber(text.substr(0, dash), text);
    maximum = dash == std::string::npos ? minimum : rangeNumber(text.substr(dash + 1), text);
}

std::int32_t clampedGroupSize(const std::string& name, long requested, std::int32_t total) {
    const long allowed = MaxAudioSources - total;
    const long size = std::clamp(requested, 0L, allowed);
    if (size != requested) {
        LogHandler::log(LogHandler::Warning, "AudioHandler",
                        "Audio source group '" + name + "': MaxSimultaneousSounds " + std::to_string(requested) +
                            " is out of range, using " + std::to_string(size) + ".");
    }
    return std::int32_t(size);
}

SoundList readSoundList(const std::string& path) {
    const XmlFile file(path);
    SoundList list;
    std::unordered_map<std::string, std::int32_t> groupIndex;
    std::int32_t totalSources = 0;
    for (const pugi::xml_node& node : requireXmlChild(file.root(), "AudioSourceGroups").children()) {
        if (node.type() != pugi::node_element) {
            continue;
        }
        const std::string name = requireXmlChildText(node, "Name");
        const long requested = std::strtol(requireXmlChildText(node, "MaxSimultaneousSounds").c_str(), nullptr, 10);
        const bool interruptible = truthOf(requireXmlChildText(node, "SoundsAreInterruptible"));
        if (!groupIndex.emplace(name, std::int32_t(list.groups.size())).second) {
            throw std::runtime_error("Duplicate audio source group name: " + name);
        }
        AudioSourceGroup group;
        group.maxSimultaneousSounds = clampedGroupSize(name, requested, totalSources);
        group.notInterruptible = !interruptible;
        totalSources += group.maxSimultaneousSounds;
        list.groups.push_back(group);
    }
    for (const pugi::xml_node& node : requireXmlChild(file.root(), "AudioCues").children()) {
        if (node.type() != pugi::node_element) {
            continue;
        }
        AudioCue cue;
        cue.name = requireXmlChildText(node, "Name");
        const std::string groupName = requireXmlChildText(node, "AudioSourceGroup");
        const auto group = groupIndex.find(groupName);
        if (group == groupIndex.end()) {
            throw std::runtime_error("Invalid source group: " + groupName);
        }
        cue.group = group->second;
        const std::string method = requireXmlChildText(node, "SampleSelectionMethod");
        if (method == "random") {
            cue.selection = AudioCue::Random;
        } else if (method == "shuffle") {
            cue.selection = AudioCue::Shuffle;
        } else {
            throw std::runtime_error("Invalid sample selection method: " + method);
        }
        for (const pugi::xml_node& sampleNode : requireXmlChild(node, "Samples").children()) {
            if (sampleNode.type() != pugi::node_element) {
                continue;
            }
            AudioSample sample;
            const pugi::xml_node fileNode = requireXmlChild(sampleNode, "File");
            sample.file = fileNode.child_value();
            sample.localized = truthOf(fileNode.attribute("Localized").value());
            readRange(sampleNode, "Volume", sample.volumeMin, sample.volumeMax);
            readRange(sampleNode, "Pitch", sample.pitchMin, sample.pitchMax);
            sample.weight = float(std::strtod(requireXmlChildText(sampleNode, "PlaybackChanceWeight").c_str(), nullptr));
            cue.samples.push_back(sample);
        }
        list.cues.push_back(std::move(cue));
    }
    return list;
}

} // namespace

bool loadSoundList(const std::string& path, SoundList& list, std::string& error) {
    SoundList read;
    try {
        read = readSoundList(path);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (!read.groups.empty()) {
        list.groups = std::move(read.groups);
    }
    if (!read.cues.empty()) {
        list.cues = std::move(read.cues);
    }
    return true;
}

} // namespace zor
