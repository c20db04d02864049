#include "Framework/core/settings/SettingsHandler.h"

#include "Framework/core/Errors.h"
#include "Framework/core/commands/Commands.h"
#include "Framework/core/io/Files.h"
#include "tests/support/common/LogCapture.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace zor {
namespace {

constexpr std::uint32_t kUserMask = SettingPersistent | SettingPermanent;

// A game data folder and a user folder of its own for every test.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { initFileSystem(gameData.path().string()); }

    void writeDefinitions(const std::string& settings) {
        gameData.write("Definitions/settings.xml", "<?xml version=\"1.0\"?>\n<Settings>\n" + settings + "</Settings>\n");
    }
    void writeValues(const std::string& name, const std::string& settings) {
        user.write(name, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Settings>\n" + settings + "</Settings>\n");
    }
    static std::string declaration(const std::string& key, const std::string& type, const std::string& value,
                                   const std::string& persistence = "persistent") {
        return "<Setting Key=\"" + key + "\" Description=\"d\" Type=\"" + type + "\" DefaultValue=\"" + value +
               "\" Persistence=\"" + persistence + "\" Visibility=\"public\"/>\n";
    }
    static std::string value(const std::string& key, const std::string& text) {
        return "<Setting Key=\"" + key + "\" Value=\"" + text + "\"/>\n";
    }
    bool hasRecord(const std::string& key) const { return settings.settings().count(key) != 0; }

    // The changes announced on the settings-changed list.
    struct Change {
        std::string key;
        OptionalSettingValue previous;
        OptionalSettingValue current;
    };
    void listen() {
        connection = settings.settingsChanged().connect(
            &changes, [](std::vector<Change>* seen, const std::string& key, const OptionalSettingValue& previous,
                         const SettingsHandler::Setting& record) { seen->push_back({key, previous, record.Value}); });
    }

    test::TempFolder gameData;
    test::TempFolder user;
    test::ScopedEnv userEnv{"ZOR_USER_DIR", user.path().string()};
    SettingsHandler settings;
    std::vector<Change> changes;
    EventConnection connection;
};

struct DeclaredCase {
    std::string key;
    SettingValue value;
    std::uint32_t persistence;
    std::int32_t visibility;
};

TEST_F(SettingsTest, DeclarationFileDeclaresEveryKnownTypeWithItsPersistenceAndVisibility) {
    writeDefinitions(
        "<!-- comments are dropped -->\n"
        "<Note Key=\"Other.Element\" Type=\"int\"/>\n"
        "<Setting Key=\"A.Int\" Description=\"Whole number\" Type=\"int\" DefaultValue=\" 42 \" "
        "Persistence=\"temporary\" Visibility=\"internal\"/>\n"
        "<Setting Key=\"A.Float\" Description=\"\" Type=\"float\" DefaultValue=\"0.25\" "
        "Persistence=\"persistent\" Visibility=\"public\"/>\n"
        "<Setting Key=\"A.BoolOne\" Description=\"\" Type=\"bool\" DefaultValue=\"1\" "
        "Persistence=\"permanent\" Visibility=\"Public\"/>\n"
        "<Setting Key=\"A.BoolTrue\" Description=\"\" Type=\"bool\" DefaultValue=\"TRUE\" "
        "Persistence=\"profile\" Visibility=\"debug\"/>\n"
        "<Setting Key=\"A.BoolBlank\" Description=\"\" Type=\"bool\" DefaultValue=\" true\" "
        "Persistence=\"Profile\" Visibility=\"public\"/>\n"
        "<Setting Key=\"A.String\" Description=\"\" Type=\"string\" DefaultValue=\" Lantern Hollow \" "
        "Persistence=\"never\" Visibility=\"public\"/>\n"
        "<Setting Key=\"A.Vec2\" Description=\"\" Type=\"vec2\" DefaultValue=\" 1280; 720 \" "
        "Persistence=\"permanent\" Visibility=\"public\"/>\n"
        "<Setting Key=\"A.Vec3\" Description=\"\" Type=\"vec3\" DefaultValue=\"1;2;3\" "
        "Persistence=\"permanent\" Visibility=\"public\"/>\n"
        "<Setting Key=\"A.Colour\" Description=\"\" Type=\"color\" Persistence=\"permanent\" Visibility=\"public\"/>\n");
    settings.loadDefinitions("Definitions/settings.xml");

    const DeclaredCase cases[] = {
        {"A.Int", std::int32_t(42), SettingTemporary, SettingInternal},
        {"A.Float", 0.25f, SettingPersistent, SettingPublic},
        {"A.BoolOne", std::int32_t(0), SettingPermanent, SettingOtherVisibility},
        {"A.BoolTrue", std::int32_t(1), SettingProfile, SettingOtherVisibility},
        {"A.BoolBlank", std::int32_t(0), SettingProfile | SettingTemporary, SettingPublic},
        {"A.String", std::string(" Lantern Hollow "), SettingProfile | SettingTemporary, SettingPublic},
        {"A.Vec2", fpVector2(1280, 720), SettingPermanent, SettingPublic},
        {"A.Vec3", fpVector3(1, 2, 3), SettingPermanent, SettingPublic},
    };
    for (const DeclaredCase& c : cases) {
        ASSERT_TRUE(hasRecord(c.key)) << c.key;
        const SettingsHandler::Setting& record = settings.setting(c.key);
        EXPECT_EQ(record.Value, OptionalSettingValue(c.value)) << c.key;
        EXPECT_EQ(record.DefaultValue, OptionalSettingValue(c.value)) << c.key;
        EXPECT_EQ(record.Persistence, c.persistence) << c.key;
        EXPECT_EQ(record.Visibility, c.visibility) << c.key;
    }
    EXPECT_EQ(settings.setting("A.Int").Description, "Whole number");
    EXPECT_FALSE(hasRecord("A.Colour"));
    EXPECT_FALSE(hasRecord("Other.Element"));
    EXPECT_EQ(settings.settings().size(), std::size(cases));
}

TEST_F(SettingsTest, ADeclarationFaultStopsTheReadAndKeepsWhatCameBefore) {
    const std::pair<std::string, std::string> faults[] = {
        {"missing Description",
         "<Setting Key=\"Bad\" Type=\"int\" DefaultValue=\"1\" Persistence=\"temporary\" Visibility=\"public\"/>\n"},
        {"missing DefaultValue",
         "<Setting Key=\"Bad\" Description=\"\" Type=\"float\" Persistence=\"temporary\" Visibility=\"public\"/>\n"},
        {"int that does not parse", declaration("Bad", "int", "twelve")},
        {"int with text after it", declaration("Bad", "int", "12 units")},
        {"float that does not parse", declaration("Bad", "float", "0,5")},
        {"short vector", declaration("Bad", "vec2", "1280")},
        {"element without attributes", "<Setting/>\n"},
    };
    int round = 0;
    for (const auto& [what, fault] : faults) {
        const std::string before = "Before" + std::to_string(round);
        const std::string after = "After" + std::to_string(round++);
        writeDefinitions(declaration(before, "int", "1") + fault + declaration(after, "int", "2"));
        try {
            settings.loadDefinitions("Definitions/settings.xml");
            ADD_FAILURE() << what << ": no error";
        } catch (const CheckReleaseError& error) {
            const std::string text = error.what();
            EXPECT_EQ(text.rfind("Could not read settings definition Definitions/settings.xml, reason: ", 0), 0u)
                << what << ": " << text;
        }
        EXPECT_TRUE(hasRecord(before)) << what;
        EXPECT_FALSE(hasRecord(after)) << what;
        EXPECT_FALSE(hasRecord("Bad")) << what;
    }
}

TEST_F(SettingsTest, AMissingOrBrokenDeclarationFileIsAnError) {
    EXPECT_THROW(settings.loadDefinitions("Definitions/absent.xml"), CheckReleaseError);
    gameData.write("Definitions/other.xml", "<Other/>");
    EXPECT_THROW(settings.loadDefinitions("Definitions/other.xml"), CheckReleaseError);
    gameData.write("Definitions/broken.xml", "<Settings><Setting");
    EXPECT_THROW(settings.loadDefinitions("Definitions/broken.xml"), CheckReleaseError);
    // An unknown type needs no default and declares nothing.
    writeDefinitions("<Setting Key=\"K\" Description=\"\" Type=\"rgb\" Persistence=\"temporary\" Visibility=\"public\"/>\n");
    EXPECT_NO_THROW(settings.loadDefinitions("Definitions/settings.xml"));
    EXPECT_FALSE(hasRecord("K"));
}

TEST_F(SettingsTest, ValueFilesFillDeclaredSettingsOfTheMaskOnlyAndNeverFire) {
    settings.declare("I", "", std::int32_t(1), SettingPersistent, SettingPublic);
    settings.declare("F", "", 0.3f, SettingPermanent, SettingPublic);
    settings.declare("S", "", std::string("x"), SettingPersistent, SettingPublic);
    settings.declare("V", "", fpVector2(1, 2), SettingPersistent, SettingPublic);
    settings.declare("R", "", fpRect(1, 2, 3, 4), SettingPersistent, SettingPublic);
    settings.declare("Bad", "", std::int32_t(5), SettingPersistent, SettingPublic);
    settings.declare("Loose", "", fpVector2(5, 6), SettingPersistent, SettingPublic);
    settings.declare("C", "", "built in", SettingPersistent, SettingPublic);
    settings.declare("P", "", std::int32_t(7), SettingProfile, SettingPublic);
    settings.declare("T", "", std::int32_t(8), SettingTemporary, SettingPublic);
    listen();
    writeValues("settings.xml", value("I", "12") + value("F", "0.5") + value("S", "Lantern Hollow") +
                                    value("V", "3;4") + value("R", "5;6;7;8") + value("Bad", "12abc") +
                                    value("Loose", "1; 2") + value("C", "text") + value("P", "70") +
                                    value("T", "80") + value("Undeclared", "1"));
    EXPECT_TRUE(settings.readValues("settings.xml", kUserMask));

    EXPECT_EQ(settings.setting("I").Value, OptionalSettingValue(std::int32_t(12)));
    EXPECT_EQ(settings.setting("F").Value, OptionalSettingValue(0.5f));
    EXPECT_EQ(settings.setting("S").Value, OptionalSettingValue(std::string("Lantern Hollow")));
    EXPECT_EQ(settings.setting("V").Value, OptionalSettingValue(fpVector2(3, 4)));
    EXPECT_EQ(settings.setting("R").Value, OptionalSettingValue(fpRect(5, 6, 7, 8)));
    // Texts that do not parse whole, C strings, and other masks are left alone.
    EXPECT_EQ(settings.setting("Bad").Value, OptionalSettingValue(std::int32_t(5)));
    EXPECT_EQ(settings.setting("Loose").Value, OptionalSettingValue(fpVector2(5, 6)));
    EXPECT_EQ(std::string(std::get<const char*>(settings.setting("C").Value.value)), "built in");
    EXPECT_EQ(settings.setting("P").Value, OptionalSettingValue(std::int32_t(7)));
    EXPECT_EQ(settings.setting("T").Value, OptionalSettingValue(std::int32_t(8)));
    EXPECT_FALSE(hasRecord("Undeclared"));
    EXPECT_TRUE(changes.empty());
}

TEST_F(SettingsTest, ABrokenValueFileReturnsFalseAndKeepsWhatWasReadBeforeTheFault) {
    const std::pair<std::string, std::string> cases[] = {
        {"Setting without Key", value("A", "1") + "<Setting Value=\"2\"/>\n" + value("B", "3")},
        {"Setting without attributes", value("A", "1") + "<Setting/>\n" + value("B", "3")},
        {"declared Setting without Value", value("A", "1") + "<Setting Key=\"B\"/>\n"},
    };
    for (const auto& [what, text] : cases) {
        settings.declare("A", "", std::int32_t(0), SettingPersistent, SettingPublic);
        settings.declare("B", "", std::int32_t(0), SettingPersistent, SettingPublic);
        writeValues("settings.xml", text);
        EXPECT_FALSE(settings.readValues("settings.xml", kUserMask)) << what;
        EXPECT_EQ(settings.getInt("A"), 1) << what;
        EXPECT_EQ(settings.getInt("B"), 0) << what;
    }
    // An undeclared key needs no Value.
    writeValues("settings.xml", "<Setting Key=\"Nobody\"/>\n" + value("B", "4"));
    EXPECT_TRUE(settings.readValues("settings.xml", kUserMask));
    EXPECT_EQ(settings.getInt("B"), 4);

    EXPECT_FALSE(settings.readValues("absent.xml", kUserMask));
    user.write("empty.xml", "");
    EXPECT_FALSE(settings.readValues("empty.xml", kUserMask));
    user.write("other.xml", "<Other/>");
    EXPECT_FALSE(settings.readValues("other.xml", kUserMask));
    user.write("broken.xml", "<Settings><Setting Key=\"A\" Value=\"9\"/>");
    EXPECT_FALSE(settings.readValues("broken.xml", kUserMask));

    // A broken file says why, naming its path; a missing or empty one is no fault.
    std::string error;
    EXPECT_FALSE(settings.readValues("broken.xml", kUserMask, &error));
    EXPECT_EQ(error.rfind((user / "broken.xml").string() + "(1): ", 0), 0u) << error;
    error.clear();
    EXPECT_FALSE(settings.readValues("other.xml", kUserMask, &error));
    EXPECT_EQ(error, "No such node (Settings)");
    error.clear();
    EXPECT_FALSE(settings.readValues("absent.xml", kUserMask, &error));
    EXPECT_FALSE(settings.readValues("empty.xml", kUserMask, &error));
    EXPECT_EQ(error, "");
}

TEST_F(SettingsTest, WritingKeepsOnlyChangedValuesOfTheMask) {
    settings.declare("Audio.Music", "", 0.3f, SettingPermanent, SettingPublic);
    settings.declare("Screen.Size", "", fpVector2(1280, 720), SettingPersistent, SettingPublic);
    settings.declare("Debug.Level", "", std::string("start"), SettingTemporary, SettingInternal);
    settings.declare("Game.Hints", "", std::int32_t(1), SettingProfile, SettingPublic);

    ASSERT_TRUE(settings.writeValues("settings.xml", kUserMask));
    EXPECT_EQ(user.read("settings.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Settings/>\n");

    settings.setValue("Audio.Music", 0.5f);
    settings.setValue("Debug.Level", std::string("Lantern Hollow"));
    settings.setValue("Game.Hints", std::int32_t(0));
    // The same text as the default counts as unchanged, whatever the alternative.
    settings.setValue("Screen.Size", std::string("1280;720"));
    ASSERT_TRUE(settings.writeValues("settings.xml", kUserMask));
    EXPECT_EQ(user.read("settings.xml"), "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                                         "<Settings>\n"
                                         "\t<Setting Key=\"Audio.Music\" Value=\"0.5\"/>\n"
                                         "</Settings>\n");
    EXPECT_FALSE(std::filesystem::exists(user / "settings.xml.backup"));

    // What was written reads back.
    settings.resetToDefaults(~0u);
    EXPECT_TRUE(settings.readValues("settings.xml", kUserMask));
    EXPECT_EQ(settings.getFloat("Audio.Music"), 0.5f);

    // A folder in the file's way: the failure names the path and the cause.
    std::filesystem::create_directories(user / "blocked.xml");
    std::string error;
    EXPECT_FALSE(settings.writeValues("blocked.xml", kUserMask, &error));
    EXPECT_EQ(error, (user / "blocked.xml").string() + ": Is a directory");
}

TEST_F(SettingsTest, ProfileFilesKeepABackupAndFallBackToIt) {
    settings.declare("Game.Hints", "", std::int32_t(1), SettingProfile, SettingPublic);
    settings.declare("Game.Music", "", 0.3f, SettingPermanent, SettingPublic);
    settings.setValue("Game.Hints", std::int32_t(0));
    settings.setValue("Game.Music", 0.9f);
    ASSERT_TRUE(settings.writeValues("profile_1.xml", SettingProfile));
    EXPECT_FALSE(std::filesystem::exists(user / "profile_1.xml.backup"));
    const std::string first = user.read("profile_1.xml");
    EXPECT_EQ(first.find("Game.Music"), std::string::npos);

    settings.setValue("Game.Hints", std::int32_t(5));
    ASSERT_TRUE(settings.writeValues("profile_1.xml", SettingProfile));
    EXPECT_EQ(user.read("profile_1.xml.backup"), first);

    // Loading resets profile settings first, then reads the file.
    settings.loadProfileSettings("profile_1.xml");
    EXPECT_EQ(settings.getInt("Game.Hints"), 5);
    EXPECT_EQ(settings.getFloat("Game.Music"), 0.9f);

    std::filesystem::remove(user / "profile_1.xml");
    settings.loadProfileSettings("profile_1.xml");
    EXPECT_EQ(settings.getInt("Game.Hints"), 0);

    user.write("profile_1.xml", "<Settings><Setting Value=\"3\"/></Settings>");
    settings.loadProfileSettings("profile_1.xml");
    EXPECT_EQ(settings.getInt("Game.Hints"), 0);

    settings.setValue("Game.Hints", std::int32_t(9));
    settings.loadProfileSettings("profile_2.xml");
    EXPECT_EQ(settings.getInt("Game.Hints"), 1);
}

TEST_F(SettingsTest, ADamagedProfileFileIsMovedAsideInsteadOfBecomingTheBackup) {
    settings.declare("Game.Hints", "", std::int32_t(1), SettingProfile, SettingPublic);
    settings.setValue("Game.Hints", std::int32_t(2));
    ASSERT_TRUE(settings.writeValues("profile_1.xml", SettingProfile));
    settings.setValue("Game.Hints", std::int32_t(3));
    ASSERT_TRUE(settings.writeValues("profile_1.xml", SettingProfile));
    const std::string backup = user.read("profile_1.xml.backup");
    test::LogCapture log;
    for (const char* damaged : {"<Settings><Setting Value=\"3\"/></Settings>", "<Settings><Setting Key="}) {
        SCOPED_TRACE(damaged);
        user.write("profile_1.xml", damaged);
        settings.setValue("Game.Hints", std::int32_t(4));
        ASSERT_TRUE(settings.writeValues("profile_1.xml", SettingProfile));
        EXPECT_EQ(user.read("profile_1.xml.backup"), backup);
        EXPECT_EQ(user.read("profile_1.xml.corrupt-1"), damaged);
        std::filesystem::remove(user / "profile_1.xml.corrupt-1");
        settings.loadProfileSettings("profile_1.xml");
        EXPECT_EQ(settings.getInt("Game.Hints"), 4);
    }
    EXPECT_EQ(log.warnings.size(), 2u);
}

TEST_F(SettingsTest, ResetsFollowThePersistenceBits) {
    settings.declare("T", "", std::int32_t(1), SettingTemporary, SettingPublic);
    settings.declare("Pe", "", std::int32_t(2), SettingPersistent, SettingPublic);
    settings.declare("Pm", "", std::int32_t(3), SettingPermanent, SettingPublic);
    settings.declare("Pr", "", std::int32_t(4), SettingProfile, SettingPublic);
    settings.declare("Odd", "", std::int32_t(5), SettingProfile | SettingTemporary, SettingPublic);
    listen();
    for (const char* key : {"T", "Pe", "Pm", "Pr", "Odd"}) settings.setValue(key, std::int32_t(0));
    changes.clear();

    // The debug settings reset: every bit but permanent and profile.
    settings.resetToDefaults(0xFFFFFFF3u);
    EXPECT_EQ(settings.getInt("T"), 1);
    EXPECT_EQ(settings.getInt("Pe"), 2);
    EXPECT_EQ(settings.getInt("Pm"), 0);
    EXPECT_EQ(settings.getInt("Pr"), 0);
    EXPECT_EQ(settings.getInt("Odd"), 5);
    settings.resetToDefaults(SettingProfile);
    EXPECT_EQ(settings.getInt("Pr"), 4);
    EXPECT_EQ(settings.getInt("Pm"), 0);
    EXPECT_TRUE(changes.empty());
}

TEST_F(SettingsTest, EverySetValueFiresWithThePreviousValueAndTheRecordAfterTheChange) {
    settings.declare("Screen.VSync", "", std::int32_t(1), SettingPermanent, SettingPublic);
    listen();
    settings.setValue("Screen.VSync", std::int32_t(0));
    settings.setValue("Screen.VSync", std::int32_t(0));
    settings.setValue("Screen.VSync", std::string("-1"));
    settings.setValue("New.Key", 2.5f);
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[0].key, "Screen.VSync");
    EXPECT_EQ(changes[0].previous, OptionalSettingValue(std::int32_t(1)));
    EXPECT_EQ(changes[0].current, OptionalSettingValue(std::int32_t(0)));
    EXPECT_EQ(changes[1].previous, changes[1].current);
    EXPECT_EQ(changes[2].current, OptionalSettingValue(std::string("-1")));
    EXPECT_EQ(settings.getInt("Screen.VSync"), -1);
    EXPECT_EQ(changes[3].key, "New.Key");
    EXPECT_FALSE(changes[3].previous.isSet);

    // The set command stores the text as a string and is announced the same way.
    changes.clear();
    runCommandLine(4, std::vector<const char*>{"morrowdeep", "-set", "Screen.VSync", "1"}.data());
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].current, OptionalSettingValue(std::string("1")));

    // A one-shot request: read, then reset through setValue so listeners hear of it.
    settings.declare("Debug.SetLevel", "", std::string(""), SettingTemporary, SettingInternal);
    settings.setValue("Debug.SetLevel", std::string("Lantern Hollow"));
    changes.clear();
    EXPECT_EQ(settings.takeString("Debug.SetLevel"), "Lantern Hollow");
    EXPECT_EQ(settings.getString("Debug.SetLevel"), "");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].previous, OptionalSettingValue(std::string("Lantern Hollow")));

    connection.release();
    settings.setValue("Screen.VSync", std::int32_t(1));
    EXPECT_EQ(changes.size(), 1u);
}

TEST_F(SettingsTest, GettersFallBackToTheDefaultWhenTheValueDoesNotConvert) {
    settings.declare("B", "", std::int32_t(0), SettingPermanent, SettingPublic);
    settings.declare("B1", "", std::int32_t(1), SettingPermanent, SettingPublic);
    settings.declare("F", "", 0.3f, SettingPermanent, SettingPublic);
    settings.declare("V", "", fpVector2(1280, 720), SettingPermanent, SettingPublic);
    settings.declare("I", "", std::int32_t(4), SettingPermanent, SettingPublic);

    runCommandArguments({"-set", "B", "true", "-set", "B1", "true", "-set", "F", "0.75", "-set", "V", "800x600",
                         "-set", "I", "12abc"});
    EXPECT_FALSE(settings.getBool("B"));
    EXPECT_TRUE(settings.getBool("B1"));
    EXPECT_EQ(settings.getFloat("F"), 0.75f);
    EXPECT_EQ(settings.getVector2("V"), fpVector2(800, 600));
    EXPECT_EQ(settings.getInt("I"), 12);

    runCommandArguments({"-set", "B", "1", "-set", "F", "fast", "-set", "V", "wide", "-set", "I", "many"});
    EXPECT_TRUE(settings.getBool("B"));
    EXPECT_FLOAT_EQ(settings.getFloat("F"), 0.3f);
    EXPECT_EQ(settings.getVector2("V"), fpVector2(1280, 720));
    EXPECT_EQ(settings.getInt("I"), 4);

    // Both failing: the zero of the type, or the components read before the failure.
    settings.declare("Both", "", std::string("7 px"), SettingPermanent, SettingPublic);
    settings.setValue("Both", std::string("none"));
    EXPECT_EQ(settings.getVector2("Both"), fpVector2(7, 0));
    EXPECT_FALSE(settings.getBool("Both"));

    // An undeclared key reads as the integer 0 and leaves nothing behind: a read changes
    // nothing, so readers on other threads never see the map change under them.
    EXPECT_EQ(settings.getString("Never.Declared"), "0");
    EXPECT_EQ(settings.getInt("Never.Declared"), 0);
    EXPECT_FALSE(settings.getBool("Never.Declared"));
    EXPECT_EQ(settings.getFloat("Never.Declared"), 0.0f);
    EXPECT_EQ(settings.getVector2("Never.Declared"), fpVector2());
    EXPECT_EQ(settings.setting("Never.Declared").Persistence, 0u);
    EXPECT_FALSE(hasRecord("Never.Declared"));
}

// The getters answer from conversions made when the value changes; a handle reads them
// without the key. Every way a value changes is seen.
TEST_F(SettingsTest, HandlesAndGettersFollowEveryChange) {
    settings.declare("F", "", 0.5f, SettingProfile, SettingPublic);
    settings.declare("V", "", fpVector2(1, 2), SettingProfile, SettingPublic);
    const SettingHandle<float> f = settings.handle<float>("F");
    const SettingHandle<std::int32_t> asInt = settings.handle<std::int32_t>("F");
    const SettingHandle<fpVector2> v = settings.handle<fpVector2>("V");
    const SettingHandle<std::string> text = settings.handle<std::string>("V");
    const SettingHandle<bool> unknown = settings.handle<bool>("Not.Declared");
    EXPECT_EQ(f.get(), 0.5f);
    EXPECT_EQ(asInt.get(), 0);
    EXPECT_EQ(v.get(), fpVector2(1, 2));
    EXPECT_EQ(text.get(), "1;2");
    EXPECT_FALSE(unknown.get());

    settings.setValue("F", std::string("2.75"));
    settings.setValue("V", fpVector2(3, 4));
    EXPECT_EQ(f.get(), 2.75f);
    EXPECT_EQ(asInt.get(), 2);
    EXPECT_EQ(settings.getBool("F"), false) << "\"2.75\" is no numeric boolean: the default 0.5 reads 0";
    EXPECT_EQ(v.get(), fpVector2(3, 4));

    settings.resetToDefaults(SettingProfile);
    EXPECT_EQ(f.get(), 0.5f);
    EXPECT_EQ(v.get(), fpVector2(1, 2));

    writeValues("profile.xml", value("F", "7.5") + value("V", "5;6"));
    ASSERT_TRUE(settings.readValues("profile.xml", SettingProfile));
    EXPECT_EQ(f.get(), 7.5f);
    EXPECT_EQ(text.get(), "5;6");

    settings.declare("F", "", std::int32_t(9), SettingProfile, SettingPublic);
    EXPECT_EQ(f.get(), 9.0f);
    EXPECT_EQ(asInt.get(), 9);

    // A listener already reads the new value.
    float seen = 0.0f;
    const EventConnection listener = settings.settingsChanged().connect(
        &seen, [&](float* out, const std::string&, const OptionalSettingValue&, const SettingsHandler::Setting&) {
            *out = f.get();
        });
    settings.setValue("F", 1.25f);
    EXPECT_EQ(seen, 1.25f);
}

// Readers on two threads, of declared and unknown keys, while nothing changes: reads
// leave the map alone (ThreadSanitizer watches this).
TEST_F(SettingsTest, TwoThreadsReadKnownAndUnknownKeys) {
    settings.declare("Known", "", 3.5f, SettingPermanent, SettingPublic);
    const auto reader = [this](int seed) {
        float sum = 0.0f;
        for (int i = 0; i < 2000; ++i) {
            sum += settings.getFloat("Known");
            sum += float(settings.getInt("Unknown." + std::to_string((i + seed) % 50)));
            sum += settings.getVector2("Unknown.Vector").x;
            if (settings.getBool("Unknown.Flag")) sum += 1.0f;
        }
        return sum;
    };
    float first = 0.0f;
    float second = 0.0f;
    std::thread one([&] { first = reader(0); });
    std::thread two([&] { second = reader(7); });
    one.join();
    two.join();
    EXPECT_EQ(first, 7000.0f);
    EXPECT_EQ(second, 7000.0f);
    EXPECT_EQ(settings.settings().size(), 1u);
}

TEST_F(SettingsTest, TheSetCommandWarnsOfUndeclaredKeysAndValuesTheTypeCannotHold) {
    settings.declare("Screen.VSync", "", std::int32_t(1), SettingPersistent, SettingPublic);
    settings.declare("Screen.WindowSize", "", fpVector2(1280, 720), SettingPersistent, SettingPublic);
    settings.declare("Language.Custom", "", std::string(""), SettingPersistent, SettingPublic);
    struct Case {
        std::vector<std::string> words;
        std::string warning;  // empty: none
    };
    const Case cases[] = {
        {{"-set", "Screen.VSync", "0"}, ""},
        {{"-set", "Screen.WindowSize", "800;600"}, ""},
        {{"-set", "Language.Custom", "any text"}, ""},
        {{"-set", "Screen.Vsync", "0"}, "set: there is no setting 'Screen.Vsync'"},
        {{"-set", "Screen.VSync", "true"},
         "set: 'true' is no value the setting 'Screen.VSync' can hold; its default stays in use"},
        {{"-set", "Screen.VSync", "99999999999"},
         "set: '99999999999' is no value the setting 'Screen.VSync' can hold; its default stays in use"},
        {{"-set", "Screen.WindowSize", "800x600 wide"},
         "set: '800x600 wide' is no value the setting 'Screen.WindowSize' can hold; its default stays in use"},
    };
    for (const Case& c : cases) {
        test::LogCapture log;
        runCommandArguments(c.words);
        if (c.warning.empty()) {
            EXPECT_TRUE(log.lines.empty()) << c.words[1] << ": " << log.lines.front();
        } else {
            ASSERT_EQ(log.lines.size(), 1u) << c.words[1];
            EXPECT_EQ(log.lines[0], c.warning + "\n");
        }
        // Set all the same, as the command always did.
        EXPECT_EQ(settings.setting(c.words[1]).Value, OptionalSettingValue(c.words[2]));
    }
}

TEST_F(SettingsTest, ValueEqualsComparesByTheHeldAlternative) {
    settings.declare("I", "", std::int32_t(12), SettingPermanent, SettingPublic);
    settings.declare("Z", "", std::int32_t(0), SettingPermanent, SettingPublic);
    settings.declare("F", "", 0.5f, SettingPermanent, SettingPublic);
    settings.declare("S", "", std::string("Lantern Hollow"), SettingPermanent, SettingPublic);
    settings.declare("V", "", fpVector2(1, 2), SettingPermanent, SettingPublic);
    settings.declare("C", "", "built in", SettingPermanent, SettingPublic);
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"I", "12", true},    {"I", "12abc", true}, {"I", " 12", true},  {"I", "13", false},
        {"Z", "abc", true},   {"F", "0.5", true},   {"F", "0.50", true}, {"F", "0.5 ", false},
        {"F", "half", false}, {"S", "Lantern Hollow", true},             {"S", "lantern hollow", false},
        {"V", "1;2", true},   {"V", "1,2", true},   {"V", "1; 2", false}, {"V", "1;2;3", false},
        {"C", "built in", false},                   {"Absent", "", false},
    };
    for (const auto& [key, text, equal] : cases) EXPECT_EQ(settings.valueEquals(key, text), equal) << key << " " << text;
    EXPECT_FALSE(hasRecord("Absent"));
}

// The shipped declarations give the engine what it reads before anything else.
TEST(SettingsDataTest, ShippedDeclarationsHoldTheStartUpDefaults) {
    test::TempFolder user;
    test::ScopedEnv userEnv("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    SettingsHandler settings;
    settings.loadDefinitions("Definitions/settings.xml");
    EXPECT_EQ(settings.getFloat("System.UpdatesPerSecond"), 60.0f);
    EXPECT_EQ(settings.getFloat("System.MaxFramesPerSecond"), 300.0f);
    EXPECT_EQ(settings.getFloat("System.MinFramesPerSecond"), 10.0f);
    EXPECT_FALSE(settings.getBool("System.BusyWait"));
    EXPECT_EQ(settings.getInt("Screen.VSync"), 1);
    EXPECT_EQ(settings.getVector2("Screen.WindowSize"), fpVector2(1280, 720));
    EXPECT_FALSE(settings.getBool("Screen.Fullscreen"));
    EXPECT_TRUE(settings.getBool("Screen.WindowResizable"));
    EXPECT_FALSE(settings.getBool("Screen.Borderless"));
    EXPECT_EQ(settings.getString("Language.Custom"), "");
    EXPECT_EQ(settings.getString("Language.Fallback"), "en");
    for (const auto& [key, record] : settings.settings()) {
        EXPECT_FALSE(record.Description.empty()) << key;
        EXPECT_TRUE(record.Persistence == SettingTemporary || record.Persistence == SettingPersistent ||
                    record.Persistence == SettingPermanent || record.Persistence == SettingProfile)
            << key;
    }
}

} // namespace
} // namespace zor
