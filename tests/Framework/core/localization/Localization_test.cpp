#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "Framework/core/localization/LanguageTable.h"
#include "Framework/core/localization/LocalizationHandler.h"
#include "Framework/core/localization/LocalizedFileName.h"
#include "Framework/core/localization/LocalizedFormat.h"
#include "Framework/core/settings/SettingsHandler.h"
#include "tests/support/common/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zor {
namespace {

TEST(LanguageTableTest, EntriesAreTwoOrThreeTabSeparatedFields) {
    const std::vector<std::string> lines = {
        "greeting\tHello",
        "gap\t\tText after two tabs",
        "\tlead\tA tab at the start",
        "noted\tText\tNote for translators",
        "four\ta\tb\tc",
        "lonely",
        "# comment\tnot an entry",
        " #blank first\tis an entry",
        "   \t  ",
        "",
        "quoted\t\"Line one\\nline two\"",
        "inner\tsay \"hi\" \\\\n",
        "\"\"\tempty id",
        "q\t\"",
        " spaced \t text ",
        "greeting\tSecond greeting loses",
        "crlf\tkept\r",
    };
    LanguageTable table;
    table["already"] = "there";
    readLanguageTable(lines, table);

    const std::pair<const char*, std::optional<std::string>> expected[] = {
        {"greeting", "Hello"},
        {"gap", "Text after two tabs"},
        {"lead", "A tab at the start"},
        {"noted", "Text"},
        {"four", std::nullopt},
        {"lonely", std::nullopt},
        {"# comment", std::nullopt},
        {" #blank first", "is an entry"},
        {"quoted", "Line one\nline two"},
        {"inner", "say \"hi\" \\\n"},
        {"", "empty id"},
        {"q", "\""},
        {" spaced ", " text "},
        {"crlf", "kept\r"},
        {"already", "there"},
    };
    for (const auto& [id, text] : expected) {
        const auto found = table.find(id);
        if (!text) {
            EXPECT_EQ(found, table.end()) << id;
        } else {
            ASSERT_NE(found, table.end()) << id;
            EXPECT_EQ(found->second, *text) << id;
        }
    }
    EXPECT_EQ(table.size(), 12u);
}

// A game data folder with language tables and the two language settings.
class LocalizationTest : public ::testing::Test {
protected:
    void SetUp() override {
        initFileSystem(gameData.path().string());
        settings.declare("Language.Custom", "", std::string(""), SettingPermanent, SettingPublic);
        settings.declare("Language.Fallback", "", std::string("en"), SettingTemporary, SettingInternal);
        gameData.write("Language/en.csv", "# English\nmenu_quit\tQuit\nui_money\t%1% silver\n"
                                          "ui_depth\t%2% at %1%\nbad_format\t%1 left open\n");
        gameData.write("Language/sv.csv", "menu_quit\tAvsluta\n");
        gameData.write("Language/ja.csv", "menu_quit\tQ\n");
        gameData.write("Language/de.csv", "");
        gameData.write("Language/ru.csv", "# no entries yet\n");
    }

    // A new handler, as start-up makes it.
    LocalizationHandler& startLocalization() {
        localization.reset();
        localization.emplace();
        localization->init("Language");
        return *localization;
    }

    test::TempFolder gameData;
    test::TempFolder user;
    test::ScopedEnv userEnv{"ZOR_USER_DIR", user.path().string()};
    test::ScopedEnv lcAll{"LC_ALL", ""};
    test::ScopedEnv lcMessages{"LC_MESSAGES", ""};
    test::ScopedEnv lang{"LANG", ""};
    SettingsHandler settings;
    std::optional<LocalizationHandler> localization;
};

TEST_F(LocalizationTest, TheFirstLanguageIsTheCustomOneThenTheSystemOneThenTheFallback) {
    struct Case {
        const char* custom;
        const char* locale;
        const char* fallback;
        const char* chosen;
    };
    const Case cases[] = {
        {"sv", "ja_JP.UTF-8", "en", "sv"},
        {"", "sv_SE.UTF-8", "en", "sv"},
        {"xx", "ja_JP.UTF-8", "en", "ja"},
        {"", "nl_NL.UTF-8", "sv", "sv"},
        {"", "C.UTF-8", "en", "en"},
        {"", "", "en", "en"},
        // A table without entries still counts; an empty file does not.
        {"ru", "", "en", "ru"},
        {"de", "", "en", "en"},
        // A region falls back to its language.
        {"sv-FI", "", "en", "sv"},
        // Codes are names, never paths.
        {"../Language/sv", "", "en", "en"},
        {"/tmp/sv", "", "en", "en"},
    };
    for (const Case& c : cases) {
        settings.setValue("Language.Custom", std::string(c.custom));
        settings.setValue("Language.Fallback", std::string(c.fallback));
        test::ScopedEnv locale("LANG", c.locale);
        EXPECT_EQ(startLocalization().currentLanguage(), c.chosen) << c.custom << " " << c.locale << " " << c.fallback;
    }
    {
        test::ScopedEnv messages("LC_MESSAGES", "ja_JP");
        test::ScopedEnv locale("LANG", "sv_SE");
        settings.setValue("Language.Custom", std::string(""));
        EXPECT_EQ(startLocalization().currentLanguage(), "ja");
    }
}

TEST_F(LocalizationTest, WithoutAnyTableStartUpFails) {
    const char* fallbacks[] = {"nl", "", "-", "../Language/en"};
    for (const char* fallback : fallbacks) {
        settings.setValue("Language.Fallback", std::string(fallback));
        try {
            startLocalization();
            ADD_FAILURE() << "no error for fallback " << fallback;
        } catch (const CheckReleaseError& error) {
            EXPECT_STREQ(error.what(), "Default language file not present");
        }
    }
}

TEST_F(LocalizationTest, SettingALanguageReplacesTheTableOnlyWhenOneLoads) {
    LocalizationHandler& handler = startLocalization();
    ASSERT_EQ(handler.currentLanguage(), "en");
    EXPECT_TRUE(handler.breaksAtSpaces());
    EXPECT_EQ(handler.getLine("menu_quit"), "Quit");
    EXPECT_EQ(handler.getLine("no_such_line"), "!LINE MISSING!");
    EXPECT_EQ(handler.findLine("no_such_line"), nullptr);

    const std::tuple<const char*, bool, const char*> steps[] = {
        {"nl", false, "en"}, {"de", false, "en"}, {"", false, "en"}, {"en_", false, "en"},
        {"ja", true, "ja"},  {"sv-SE-x", true, "sv"},                {"-sv", false, "sv"},
        {"en-GB", true, "en"},
    };
    for (const auto& [code, loaded, current] : steps) {
        EXPECT_EQ(handler.setLanguage(code), loaded) << code;
        EXPECT_EQ(handler.currentLanguage(), current) << code;
        EXPECT_EQ(handler.breaksAtSpaces(), std::string(current) != "ja") << code;
    }
    EXPECT_EQ(handler.getLine("ui_money"), "%1% silver");

    // The current language is not read again, even when its file changed.
    gameData.write("Language/en.csv", "menu_quit\tLeave\n");
    EXPECT_TRUE(handler.setLanguage("en"));
    EXPECT_EQ(handler.getLine("menu_quit"), "Quit");
    EXPECT_TRUE(handler.setLanguage("sv"));
    EXPECT_EQ(handler.getLine("ui_money"), "!LINE MISSING!");
    EXPECT_TRUE(handler.setLanguage("en"));
    EXPECT_EQ(handler.getLine("menu_quit"), "Leave");
}

TEST_F(LocalizationTest, LocalizedFormatFillsDirectivesOrSaysTheLineIsInvalid) {
    startLocalization();
    EXPECT_EQ((LocalizedFormat("ui_money") % 250).str(), "250 silver");
    EXPECT_EQ((LocalizedFormat("ui_depth") % 7 % "Lantern Hollow").str(), "Lantern Hollow at 7");
    EXPECT_EQ((LocalizedFormat("ui_depth") % 7 % std::string("Lantern Hollow")).str(), "Lantern Hollow at 7");
    EXPECT_EQ(LocalizedFormat("menu_quit").str(), "Quit");

    const std::pair<LocalizedFormat, const char*> invalid[] = {
        {LocalizedFormat("ui_money"), "nothing fed"},
        {LocalizedFormat("ui_money") % 1 % 2, "one too many"},
        {LocalizedFormat("ui_depth") % 1, "one too few"},
        {LocalizedFormat("bad_format") % 1, "broken directive"},
        {LocalizedFormat("no_such_line"), "missing line"},
        {LocalizedFormat("no_such_line") % 1, "missing line, fed"},
        {LocalizedFormat::fromText("100%"), "lone percent"},
    };
    for (const auto& [format, what] : invalid) EXPECT_EQ(format.str(), "!LINE INVALID!") << what;
    EXPECT_TRUE((LocalizedFormat("ui_money") % 1 % 2).isInvalid());
    EXPECT_FALSE((LocalizedFormat("ui_money") % 1).isInvalid());
    EXPECT_EQ((LocalizedFormat::fromText("%1% of %2%") % 3 % 4).str(), "3 of 4");
}

TEST(LocalizedFormatTest, DirectivesTheFormatterMishandlesMakeALineInvalidInsteadOfCrashing) {
    const std::pair<const char*, const char*> valid[] = {
        {"%05d", "00042"},     {"%|6|", "    42"},     {"%1$-4d|", "42  |"},
        {"%1%12345 coins", "4212345 coins"},             {"100%% of %1%", "100% of 42"},
        {"%|9999|", nullptr},
    };
    for (const auto& [text, result] : valid) {
        LocalizedFormat format = LocalizedFormat::fromText(text);
        format % 42;
        EXPECT_FALSE(format.isInvalid()) << text;
        if (result) {
            EXPECT_EQ(format.str(), result) << text;
        }
    }
    // Tabulations with other fill characters, or "%" in the bracket form, are fine.
    for (const char* text : {"%Tx%%", "%|T%|%%"}) EXPECT_NE(LocalizedFormat::fromText(text).str(), "!LINE INVALID!") << text;
    for (const char* text : {"%0000000000587642649E", "%|10000|", "%1$99999d", "%.100000s", "%10000%",
                             "%|1$20000t|", "%T%%", "a %5T%% b", "%1$T%%%%", "%1t%2333333333333 gold"}) {
        LocalizedFormat format = LocalizedFormat::fromText(text);
        format % 42;
        EXPECT_EQ(format.str(), "!LINE INVALID!") << text;
    }
}

TEST(LocalizedFileNameTest, TheSuffixGoesBeforeTheExtensionOnce) {
    for (const char* name : {"Textures/title.png", "fonts.txt", "noext", ""})
        EXPECT_EQ(localizedFileName(name), name);
    setLocalizedFileSuffix("_sv");
    EXPECT_EQ(localizedFileName("Textures/title.png"), "Textures/title_sv.png");
    EXPECT_EQ(localizedFileName("Textures/title_sv.png"), "Textures/title_sv.png");
    setLocalizedFileSuffix("");
    EXPECT_EQ(localizedFileName("Textures/title.png"), "Textures/title.png");
}

TEST(LocaleLanguageTest, OnlyTheGamesLanguagesAreTakenFromTheLocale) {
    const std::pair<const char*, const char*> cases[] = {
        {"de_DE.UTF-8", "de"}, {"en_GB", "en"},   {"es", "es"},     {"fr_CA.UTF-8@x", "fr"},
        {"it-IT", "it"},       {"ja_JP.eucJP", "ja"}, {"ru_RU.KOI8-R", "ru"}, {"sv_FI", "sv"},
        {"nl_NL", ""},         {"C", ""},         {"POSIX", ""},    {"", ""},
        {"english", ""},       {"EN_us", ""},
    };
    for (const auto& [locale, code] : cases) EXPECT_EQ(knownLanguageOfLocale(locale), code) << locale;
}

// The shipped English table loads and its format lines are well formed.
TEST(LanguageDataTest, ShippedEnglishTableLoads) {
    test::TempFolder user;
    test::ScopedEnv userEnv("ZOR_USER_DIR", user.path().string());
    initFileSystem("BundlePC");
    SettingsHandler settings;
    settings.declare("Language.Fallback", "", std::string("en"), SettingTemporary, SettingInternal);
    settings.declare("Language.Custom", "", std::string("en"), SettingPermanent, SettingPublic);
    LocalizationHandler localization;
    localization.init("Language");
    EXPECT_EQ(localization.currentLanguage(), "en");
    EXPECT_EQ(localization.getLine("menu_confirm_quit"), "Leave the mine and return to the surface for good?");
    EXPECT_EQ(localization.getLine("ui_game_over"), "Your lamp has gone out.\nThe deep keeps what it takes.");
    EXPECT_EQ((LocalizedFormat("ui_money") % 40).str(), "40 silver");
    EXPECT_EQ((LocalizedFormat("ui_level_reached") % 3 % "Glimmer Shaft").str(), "Reached depth 3: Glimmer Shaft");
}

} // namespace
} // namespace zor
