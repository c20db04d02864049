// The typed setting getters for the values the main loop and the game read, held as
// declared and as the string a "set" command leaves behind; every getter of a value of its
// own type is compared with getInt of an integer.

#include "Framework/core/settings/SettingsHandler.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

namespace {

zor::SettingsHandler& settings() {
    static std::optional<zor::SettingsHandler> handler;
    if (!handler) {
        handler.emplace();
        using zor::SettingPermanent;
        using zor::SettingPublic;
        handler->declare("Int", "", std::int32_t(1), SettingPermanent, SettingPublic);
        handler->declare("Float", "", 60.0f, SettingPermanent, SettingPublic);
        handler->declare("String", "", std::string("Lantern Hollow"), SettingPermanent, SettingPublic);
        handler->declare("Vector", "", zor::fpVector2(1280, 720), SettingPermanent, SettingPublic);
        handler->declare("IntAsText", "", std::int32_t(1), SettingPermanent, SettingPublic);
        handler->declare("FloatAsText", "", 60.0f, SettingPermanent, SettingPublic);
        handler->declare("VectorAsText", "", zor::fpVector2(1280, 720), SettingPermanent, SettingPublic);
        handler->setValue("IntAsText", std::string("1"));
        handler->setValue("FloatAsText", std::string("60"));
        handler->setValue("VectorAsText", std::string("1280;720"));
    }
    return *handler;
}

template <class Getter>
void run(benchmark::State& state, const std::string& key, Getter getter) {
    zor::SettingsHandler& handler = settings();
    for (auto _ : state) benchmark::DoNotOptimize((handler.*getter)(key));
}

void GetIntOfInt(benchmark::State& s) { run(s, "Int", &zor::SettingsHandler::getInt); }
void GetBoolOfInt(benchmark::State& s) { run(s, "Int", &zor::SettingsHandler::getBool); }
void GetFloatOfFloat(benchmark::State& s) { run(s, "Float", &zor::SettingsHandler::getFloat); }
void GetStringOfString(benchmark::State& s) { run(s, "String", &zor::SettingsHandler::getString); }
void GetStringOfFloat(benchmark::State& s) { run(s, "Float", &zor::SettingsHandler::getString); }
void GetVector2OfVector2(benchmark::State& s) { run(s, "Vector", &zor::SettingsHandler::getVector2); }
void GetIntOfText(benchmark::State& s) { run(s, "IntAsText", &zor::SettingsHandler::getInt); }
void GetBoolOfText(benchmark::State& s) { run(s, "IntAsText", &zor::SettingsHandler::getBool); }
void GetFloatOfText(benchmark::State& s) { run(s, "FloatAsText", &zor::SettingsHandler::getFloat); }
void GetVector2OfText(benchmark::State& s) { run(s, "VectorAsText", &zor::SettingsHandler::getVector2); }

void GetIntOfUnknownKey(benchmark::State& s) { run(s, "Never.Declared", &zor::SettingsHandler::getInt); }

template <class T>
void ThroughHandle(benchmark::State& state, const std::string& key) {
    const zor::SettingHandle<T> handle = settings().handle<T>(key);
    for (auto _ : state) benchmark::DoNotOptimize(handle.get());
}
void HandleIntOfInt(benchmark::State& s) { ThroughHandle<std::int32_t>(s, "Int"); }
void HandleBoolOfInt(benchmark::State& s) { ThroughHandle<bool>(s, "Int"); }
void HandleFloatOfFloat(benchmark::State& s) { ThroughHandle<float>(s, "Float"); }
void HandleVector2OfVector2(benchmark::State& s) { ThroughHandle<zor::fpVector2>(s, "Vector"); }

void ValueEqualsOfVector2(benchmark::State& state) {
    zor::SettingsHandler& handler = settings();
    for (auto _ : state) benchmark::DoNotOptimize(handler.valueEquals("Vector", "1280;720"));
}

BENCHMARK(GetIntOfInt);
BENCHMARK(GetBoolOfInt);
BENCHMARK(GetFloatOfFloat);
BENCHMARK(GetStringOfString);
BENCHMARK(GetStringOfFloat);
BENCHMARK(GetVector2OfVector2);
BENCHMARK(GetIntOfText);
BENCHMARK(GetBoolOfText);
BENCHMARK(GetFloatOfText);
BENCHMARK(GetVector2OfText);
BENCHMARK(GetIntOfUnknownKey);
BENCHMARK(HandleIntOfInt);
BENCHMARK(HandleBoolOfInt);
BENCHMARK(HandleFloatOfFloat);
BENCHMARK(HandleVector2OfVector2);
BENCHMARK(ValueEqualsOfVector2);

} // namespace
