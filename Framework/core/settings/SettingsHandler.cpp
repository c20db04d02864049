#include "Framework/core/settings/SettingsHandler.h"

#include "Framework/core/Errors.h"
#include "Framework/core/commands/Commands.h"
#include "Framework/core/io/BackedUpFile.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "Framework/core/text/TextUtils.h"

#include <boost/property_tree/ptree.hpp>
#include <boost/property_tree/xml_parser.hpp>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace zor {

namespace {

namespace pt = boost::property_tree;

constexpr std::size_t kInitialBuckets = 11;

const char* const LogSource = "Settings";

std::uint32_t persistenceOf(const std::string& text) {
    if (text == "temporary") return SettingTemporary;
    if (text == "persistent") return SettingPersistent;
    if (text == "permanent") return SettingPermanent;
    if (text == "profile") return SettingProfile;
    return SettingProfile | SettingTemporary;
}

// The bytes of a value file in the form readValues takes: a Settings element whose
// children all carry Key and Value.
bool valueFileReads(const ByteArray& data, std::size_t size) {
    if (size == 0) return false;
    try {
        std::istringstream in(std::string(reinterpret_cast<const char*>(data.get()), size));
        pt::ptree tree;
        pt::read_xml(in, tree, pt::xml_parser::no_comments);
        for (const auto& child : tree.get_child("Settings")) {
            const pt::ptree& attributes = child.second.get_child("<xmlattr>");
            attributes.get<std::string>("Key");
            attributes.get<std::string>("Value");
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::int32_t visibilityOf(const std::string& text) {
    if (text == "internal") return SettingInternal;
    if (text == "public") return SettingPublic;
    return SettingOtherVisibility;
}

// A declared default in its type's text form: white space allowed around the numbers,
// nothing else left over.
template <class T>
T declaredDefault(const pt::ptree& attributes, const std::string& type) {
    const auto text = attributes.get<std::string>("DefaultValue");
    std::istringstream stream(text);
    T value;
    stream >> value;
    if (!stream.eof()) stream >> std::ws;
    if (stream.fail() || stream.get() != std::char_traits<char>::eof())
        throw std::runtime_error("DefaultValue \"" + text + "\" does not read as type " + type);
    return value;
}

// The getters' rule: the value when it is set and converts, else the default, converted
// once each.
template <class T>
T convertedValue(const SettingsHandler::Setting& record) {
    T out;
    if (record.Value.isSet && convertSetting(record.Value.value, out)) return out;
    convertSetting(record.DefaultValue.value, out);
    return out;
}

// Whether the text parses whole into the alternative the value holds (any text for strings).
bool textFits(const SettingValue& value, const std::string& text) {
    return std::visit(
        [&text](const auto& held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, std::string>) {
                return true;
            } else if constexpr (std::is_same_v<T, const char*>) {
                return false;
            } else {
                T parsed;
                return parseWholeText(text, parsed);
            }
        },
        value);
}

// What is wrong with a `set` of the key to the text, or an empty text.
std::string setCommandFault(const SettingsHandler& handler, const std::string& key, const std::string& text) {
    const auto found = handler.settings().find(key);
    if (found == handler.settings().end() || !found->second.DefaultValue.isSet)
        return "set: there is no setting '" + key + "'";
    if (!textFits(found->second.DefaultValue.value, text))
        return "set: '" + text + "' is no value the setting '" + key + "' can hold; its default stays in use";
    return {};
}

// The float getter: the text decides between value and default; the number returned is
// taken directly.
float convertedFloat(const SettingsHandler::Setting& record) {
    float ignored;
    if (record.Value.isSet && convertSetting(record.Value.value, ignored)) return directFloat(record.Value.value);
    return directFloat(record.DefaultValue.value);
}

// Works out every getter's answer after a change of value or default.
void refreshReads(SettingsHandler::Setting& record) {
    SettingsHandler::Reads& reads = record.reads;
    reads.asInt = convertedValue<std::int32_t>(record);
    reads.asBool = convertedValue<bool>(record);
    reads.asFloat = convertedFloat(record);
    reads.asString = convertedValue<std::string>(record);
    reads.asVector2 = convertedValue<fpVector2>(record);
}

const SettingsHandler::Setting& unknownSetting() {
    static const SettingsHandler::Setting record = [] {
        SettingsHandler::Setting empty;
        refreshReads(empty);
        return empty;
    }();
    return record;
}

// Parses the whole text into the alternative the value holds; a text that does not parse,
// or a C string value, leaves it unchanged.
void assignText(SettingValue& value, const std::string& text) {
    std::visit(
        [&](auto& held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, std::string>) {
                held = text;
            } else if constexpr (!std::is_same_v<T, const char*>) {
                T parsed;
                if (parseWholeText(text, parsed)) held = parsed;
            }
        },
        value);
}

} // namespace

SettingsHandler::SettingsHandler() : m_settings(kInitialBuckets) {
    m_settings.max_load_factor(1.0f);
    registerCommand("set", 2, [](const std::vector<std::string>& arguments) {
        if (!SettingsHandler::exists()) return;
        SettingsHandler& handler = SettingsHandler::instance();
        const std::string fault = setCommandFault(handler, arguments[0], arguments[1]);
        if (!fault.empty()) LogHandler::log(LogHandler::Warning, LogSource, fault);
        handler.setValue(arguments[0], arguments[1]);
    });
}

SettingsHandler::~SettingsHandler() = default;

void SettingsHandler::declare(const std::string& key, const std::string& description, const SettingValue& value,
                              std::uint32_t persistence, std::int32_t visibility) {
    Setting& declared = record(key);
    declared.Value = value;
    declared.DefaultValue = value;
    declared.Description = description;
    declared.Persistence = persistence;
    declared.Visibility = visibility;
    refreshReads(declared);
}

void SettingsHandler::setValue(const std::string& key, const SettingValue& value) {
    Setting& changed = record(key);
    const OptionalSettingValue previous = changed.Value;
    changed.Value = value;
    refreshReads(changed);
    m_changed.fire(key, previous, changed);
}

void SettingsHandler::correctValue(const std::string& key, const SettingValue& value) {
    Setting& corrected = record(key);
    corrected.Value = value;
    refreshReads(corrected);
}

std::string SettingsHandler::takeString(const std::string& key) {
    std::string text = getString(key);
    const SettingValue defaultValue = setting(key).DefaultValue.value;
    setValue(key, defaultValue);
    return text;
}

bool SettingsHandler::valueEquals(const std::string& key, const std::string& text) const {
    const auto found = m_settings.find(key);
    if (found == m_settings.end()) return false;
    const OptionalSettingValue& current = found->second.Value;
    if (!current.isSet) return text.empty();
    return std::visit(
        [&text](const auto& held) {
            using T = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<T, std::int32_t>) {
                return std::atoi(text.c_str()) == held;
            } else if constexpr (std::is_same_v<T, const char*>) {
                return false;
            } else if constexpr (std::is_same_v<T, std::string>) {
                return text == held;
            } else {
                T parsed;
                return parseWholeText(text, parsed) && parsed == held;
            }
        },
        current.value);
}

const SettingsHandler::Setting& SettingsHandler::setting(const std::string& key) const {
    const auto found = m_settings.find(key);
    return found == m_settings.end() ? unknownSetting() : found->second;
}

void SettingsHandler::resetToDefaults(std::uint32_t mask) {
    for (auto& entry : m_settings) {
        if (!(entry.second.Persistence & mask)) continue;
        entry.second.Value = entry.second.DefaultValue;
        refreshReads(entry.second);
    }
}

void SettingsHandler::loadDefinitions(const std::string& path) {
    try {
        pt::ptree tree;
        readXml(path, tree, FileLocation::GameData);
        for (const auto& child : tree.get_child("Settings")) {
            if (child.first != "Setting") continue;
            const pt::ptree& attributes = child.second.get_child("<xmlattr>");
            const auto key = attributes.get<std::string>("Key");
            const auto description = attributes.get<std::string>("Description");
            const auto type = attributes.get<std::string>("Type");
            const std::uint32_t persistence = persistenceOf(attributes.get<std::string>("Persistence"));
            const std::int32_t visibility = visibilityOf(attributes.get<std::string>("Visibility"));
            SettingValue value;
            if (type == "int")
                value = declaredDefault<std::int32_t>(attributes, type);
            else if (type == "float")
                value = declaredDefault<float>(attributes, type);
            else if (type == "bool")
                value = std::int32_t(isTrue(attributes.get<std::string>("DefaultValue")) ? 1 : 0);
            else if (type == "string")
                value = attributes.get<std::string>("DefaultValue");
            else if (type == "vec2")
                value = declaredDefault<fpVector2>(attributes, type);
            else if (type == "vec3")
                value = declaredDefault<fpVector3>(attributes, type);
            else
                continue;
            declare(key, description, value, persistence, visibility);
        }
    } catch (const std::exception& error) {
        throw CheckReleaseError("Could not read settings definition " + path + ", reason: " + error.what());
    }
}

bool SettingsHandler::readValues(const std::string& path, std::uint32_t mask, std::string* error) {
    try {
        pt::ptree tree;
        if (readXml(path, tree, FileLocation::User) == 0) return false;
        for (const auto& child : tree.get_child("Settings")) {
            const pt::ptree& attributes = child.second.get_child("<xmlattr>");
            const auto found = m_settings.find(attributes.get<std::string>("Key"));
            if (found == m_settings.end() || !(found->second.Persistence & mask)) continue;
            assignText(found->second.Value.value, attributes.get<std::string>("Value"));
            refreshReads(found->second);
        }
        return true;
    } catch (const std::exception& fault) {
        if (error) *error = fault.what();
        return false;
    }
}

bool SettingsHandler::writeValues(const std::string& path, std::uint32_t mask, std::string* error) {
    pt::ptree tree;
    pt::ptree& root = tree.add_child("Settings", pt::ptree());
    for (const auto& [key, record] : m_settings) {
        if (!(record.Persistence & mask)) continue;
        std::string value;
        std::string defaultValue;
        convertSetting(record.Value.value, value);
        convertSetting(record.DefaultValue.value, defaultValue);
        if (value == defaultValue) continue;
        pt::ptree& element = root.add_child("Setting", pt::ptree());
        element.put("<xmlattr>.Key", key);
        element.put("<xmlattr>.Value", value);
    }
    std::ostringstream text;
    pt::write_xml(text, tree, pt::xml_writer_make_settings<std::string>('\t', 1, "utf-8"));
    const std::string bytes = text.str();
    if (mask == SettingProfile) return writeBackedUpFile(path, bytes.data(), bytes.size(), &valueFileReads, error);
    return writeFile(path, bytes.data(), bytes.size(), 0u, error);
}

bool SettingsHandler::saveUserSettings(std::string* error) {
    return writeValues("settings.xml", SettingPersistent | SettingPermanent, error);
}

void SettingsHandler::loadProfileSettings(const std::string& path) {
    resetToDefaults(SettingProfile);
    if (!readValues(path, SettingProfile)) readValues(path + ".backup", SettingProfile);
}

} // namespace zor
