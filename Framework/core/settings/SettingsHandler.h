#pragma once
// Every named setting of the program ("Screen.VSync": a section and a name joined by a
// dot), declared in code or in "Definitions/settings.xml" with a default, a description,
// persistence bits and a visibility. Values are read from and written to "settings.xml"
// in the user folder and, for profile settings, to each save slot's profile file.
// Changes happen on the main thread; reads change nothing, so any thread may read while
// nothing changes (the simulation reads settings in its step). Nothing here is locked.

#include "Framework/core/AbstractSingleton.h"
#include "Framework/core/events/EventList.h"
#include "Framework/core/settings/SettingValue.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace zor {

// Where a setting's value is stored; a setting may carry several bits.
enum SettingPersistence : std::uint32_t {
    SettingTemporary = 1,  // never written to a file
    SettingPersistent = 2, // the user's "settings.xml"; cleared by the debug settings reset
    SettingPermanent = 4,  // the user's "settings.xml"; survives the debug settings reset
    SettingProfile = 8,    // the current save slot's profile file
};

// Visibility values: 0 internal, 1 public, 2 for any other text in the declaration file.
enum SettingVisibility : std::int32_t {
    SettingInternal = 0,
    SettingPublic = 1,
    SettingOtherVisibility = 2,
};

template <class T>
class SettingHandle;

class SettingsHandler : public AbstractSingleton<SettingsHandler> {
public:
    // What the getters answer, worked out by their conversion rules whenever the value
    // or the default changes, so that a read converts nothing.
    struct Reads {
        std::int32_t asInt = 0;
        bool asBool = false;
        float asFloat = 0.0f;
        std::string asString = "0";
        fpVector2 asVector2;
    };

    struct Setting {
        OptionalSettingValue Value;
        OptionalSettingValue DefaultValue;
        std::string Description;
        std::uint32_t Persistence = 0;
        std::int32_t Visibility = SettingInternal;
        // Kept by the handler.
        Reads reads;
    };

    using SettingMap = std::unordered_map<std::string, Setting>;
    // Listeners get the key, the value as it was before the change, and the record after it.
    using ChangedList = EventList<std::string, OptionalSettingValue, Setting>;

    // Registers the console command "set" (key, text), which stores the text as a string;
    // it logs a warning first when the key is not declared or the text is no value of the
    // declared default's type (the getters then keep using the default).
    SettingsHandler();
    ~SettingsHandler() override;

    // Replaces the record: value and default both set to `value`. Fires nothing.
    void declare(const std::string& key, const std::string& description, const SettingValue& value,
                 std::uint32_t persistence, std::int32_t visibility);

    // Sets the value (any alternative) and fires the settings-changed list, also when the
    // value did not change.
    void setValue(const std::string& key, const SettingValue& value);
    // Sets the value without firing the list: for corrections of a value nobody could use.
    void correctValue(const std::string& key, const SettingValue& value);

    // The value converted through text when it is set and converts, else the default
    // converted; when both fail, the zero of the type (vectors keep the components read).
    // A key that was never declared reads as the integer 0 and is not recorded. The
    // conversions are made when the value changes, not here.
    std::int32_t getInt(const std::string& key) const { return setting(key).reads.asInt; }
    bool getBool(const std::string& key) const { return setting(key).reads.asBool; }
    float getFloat(const std::string& key) const { return setting(key).reads.asFloat; }
    std::string getString(const std::string& key) const { return setting(key).reads.asString; }
    fpVector2 getVector2(const std::string& key) const { return setting(key).reads.asVector2; }

    // A typed reader of the key for hot code, taken once: it reads as the getter of its
    // type does, without looking the key up. Take it after the key is declared (handles
    // of keys unknown then read as the integer 0 for good); valid while the handler lives.
    template <class T>
    SettingHandle<T> handle(const std::string& key) const;

    // getString, then the default is set through setValue: for one-shot requests.
    std::string takeString(const std::string& key);

    // Compares the value with a text by the value's alternative, without creating a record.
    bool valueEquals(const std::string& key, const std::string& text) const;

    // The record; for a key never declared or set, an empty one shared by all such keys
    // (nothing is created). References stay valid while the handler lives.
    const Setting& setting(const std::string& key) const;
    const SettingMap& settings() const { return m_settings; }

    ChangedList& settingsChanged() { return m_changed; }

    // Copies the default into the value of every setting sharing a bit with the mask.
    void resetToDefaults(std::uint32_t mask);

    // Reads declarations from a game data file; any failure throws CheckReleaseError and
    // keeps the declarations made before it.
    void loadDefinitions(const std::string& path);
    // Reads a value file of the user folder into the declared settings sharing a bit with
    // the mask; false on a missing or broken file, keeping what was read before the fault.
    // For a broken file `error`, when given, receives the fault (a missing or empty file
    // leaves it alone).
    bool readValues(const std::string& path, std::uint32_t mask, std::string* error = nullptr);
    // Writes the settings sharing a bit with the mask whose value text differs from their
    // default's text. With the profile mask (8) the old file is kept as path + ".backup"
    // when it reads; one that does not is moved aside as ".corrupt-N", keeping the backup.
    // On failure `error`, when given, receives the file's path and the cause.
    bool writeValues(const std::string& path, std::uint32_t mask, std::string* error = nullptr);
    // The persistent and permanent settings to the user's "settings.xml".
    bool saveUserSettings(std::string* error = nullptr);
    // Profile settings back to their defaults, then read from the file or its ".backup".
    void loadProfileSettings(const std::string& path);

private:
    Setting& record(const std::string& key) { return m_settings[key]; }

    SettingMap m_settings;
    ChangedList m_changed;
};

// Reads one setting as type T: std::int32_t, bool, float, std::string or fpVector2.
template <class T>
class SettingHandle {
public:
    explicit SettingHandle(const SettingsHandler::Setting& record) : m_record(&record) {}
    T get() const;

private:
    const SettingsHandler::Setting* m_record;
};

template <>
inline std::int32_t SettingHandle<std::int32_t>::get() const { return m_record->reads.asInt; }
template <>
inline bool SettingHandle<bool>::get() const { return m_record->reads.asBool; }
template <>
inline float SettingHandle<float>::get() const { return m_record->reads.asFloat; }
template <>
inline std::string SettingHandle<std::string>::get() const { return m_record->reads.asString; }
template <>
inline fpVector2 SettingHandle<fpVector2>::get() const { return m_record->reads.asVector2; }

template <class T>
SettingHandle<T> SettingsHandler::handle(const std::string& key) const {
    return SettingHandle<T>(setting(key));
}

} // namespace zor
