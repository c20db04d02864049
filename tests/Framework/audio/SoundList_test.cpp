#include "Framework/audio/SoundList.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "Framework/core/log/LogHandler.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

std::string group(const std::string& name, const std::string& size, const std::string& interruptible) {
    return "<Group><Name>" + name + "</Name><MaxSimultaneousSounds>" + size +
           "</MaxSimultaneousSounds><SoundsAreInterruptible>" + interruptible + "</SoundsAreInterruptible></Group>";
}

std::string sample(const std::string& file, const std::string& volume, const std::string& pitch,
                   const std::string& weight) {
    return "<Sample><File>" + file + "</File><Volume>" + volume + "</Volume><Pitch>" + pitch +
           "</Pitch><PlaybackChanceWeight>" + weight + "</PlaybackChanceWeight></Sample>";
}

std::string cue(const std::string& name, const std::string& groupName, const std::string& method,
                const std::string& samples) {
    return "<Cue><Name>" + name + "</Name><AudioSourceGroup>" + groupName + "</AudioSourceGroup><SampleSelectionMethod>" +
           method + "</SampleSelectionMethod><Samples>" + samples + "</Samples></Cue>";
}

std::string soundList(const std::string& groups, const std::string& cues) {
    return "<SoundList><AudioSourceGroups>" + groups + "</AudioSourceGroups><AudioCues>" + cues +
           "</AudioCues></SoundList>";
}

class SoundListTest : public ::testing::Test {
protected:
    SoundListTest() : m_user("ZOR_USER_DIR", m_userFolder.path().string()) {
        initFileSystem(m_gameData.path().string());
        m_log.addSink([this](const std::string& line, LogHandler::LevelType) { m_logLines.push_back(line); }, 1,
                      LogHandler::Verbose, "%1%");
    }

    void writeList(const std::string& xml) { m_gameData.write("Audio/sounds.xml", xml); }

    // The error text, or "" when the list loaded.
    std::string errorOf(const std::string& xml) {
        writeList(xml);
        SoundList list;
        std::string error;
        return loadSoundList("Audio/sounds.xml", list, error) ? std::string() : error;
    }

    test::TempFolder m_gameData;
    test::TempFolder m_userFolder;
    test::ScopedEnv m_user;
    LogHandler m_log;
    std::vector<std::string> m_logLines;
};

TEST_F(SoundListTest, ReadsGroupsAndCuesInFileOrder) {
    // Element names of groups, cues and samples are not checked; comments are skipped.
    writeList("<Sounds><AudioSourceGroups>" + group("steps", "3", "yes") + "<!-- note -->" +
              "<AnyName><Name>voices</Name><MaxSimultaneousSounds>1</MaxSimultaneousSounds>"
              "<SoundsAreInterruptible>false</SoundsAreInterruptible></AnyName>"
              "</AudioSourceGroups><AudioCues>" +
              cue("gravel", "steps", "shuffle",
                  sample("gravel_a", "0.5-1.0", "0.8", "2.5") +
                      "<Other><File Localized=\"true\">speech/hello</File><Volume>1</Volume><Pitch>0.9-1.1</Pitch>"
                      "<PlaybackChanceWeight>0.25</PlaybackChanceWeight></Other>") +
              cue("grunt", "voices", "random", "") + "</AudioCues></Sounds>");
    SoundList list;
    std::string error;
    ASSERT_TRUE(loadSoundList("Audio/sounds.xml", list, error)) << error;

    ASSERT_EQ(list.groups.size(), 2u);
    EXPECT_EQ(list.groups[0].maxSimultaneousSounds, 3);
    EXPECT_FALSE(list.groups[0].notInterruptible);
    EXPECT_EQ(list.groups[1].maxSimultaneousSounds, 1);
    EXPECT_TRUE(list.groups[1].notInterruptible);

    ASSERT_EQ(list.cues.size(), 2u);
    const AudioCue& gravel = list.cues[0];
    EXPECT_EQ(gravel.name, "gravel");
    EXPECT_EQ(gravel.group, 0);
    EXPECT_EQ(gravel.selection, AudioCue::Shuffle);
    ASSERT_EQ(gravel.samples.size(), 2u);
    const AudioSample& first = gravel.samples[0];
    EXPECT_EQ(first.file, "gravel_a");
    EXPECT_FLOAT_EQ(first.volumeMin, 0.5f);
    EXPECT_FLOAT_EQ(first.volumeMax, 1.0f);
    EXPECT_FLOAT_EQ(first.pitchMin, 0.8f);
    EXPECT_FLOAT_EQ(first.pitchMax, 0.8f);
    EXPECT_FLOAT_EQ(first.weight, 2.5f);
    EXPECT_FALSE(first.localized);
    EXPECT_EQ(first.fileIndex, 0);
    const AudioSample& second = gravel.samples[1];
    EXPECT_EQ(second.file, "speech/hello");
    EXPECT_TRUE(second.localized);
    EXPECT_FLOAT_EQ(second.pitchMin, 0.9f);
    EXPECT_FLOAT_EQ(second.pitchMax, 1.1f);
    EXPECT_FLOAT_EQ(second.weight, 0.25f);

    EXPECT_EQ(list.cues[1].name, "grunt");
    EXPECT_EQ(list.cues[1].group, 1);
    EXPECT_EQ(list.cues[1].selection, AudioCue::Random);
    EXPECT_TRUE(list.cues[1].samples.empty());
}

TEST_F(SoundListTest, TruthTextsLookAtTheFirstCharacter) {
    const char* truths[] = {"1", "T", "Y", "true", "yes", "y"};
    const char* falsehoods[] = {"0", "false", "no", "", " true", "on"};
    for (const char* text : truths) {
        writeList(soundList(group("g", "1", text), ""));
        SoundList list;
        std::string error;
        ASSERT_TRUE(loadSoundList("Audio/sounds.xml", list, error)) << error;
        EXPECT_FALSE(list.groups[0].notInterruptible) << text;
    }
    for (const char* text : falsehoods) {
        writeList(soundList(group("g", "1", text), ""));
        SoundList list;
        std::string error;
        ASSERT_TRUE(loadSoundList("Audio/sounds.xml", list, error)) << error;
        EXPECT_TRUE(list.groups[0].notInterruptible) << '"' << text << '"';
    }
}

TEST_F(SoundListTest, ElementsWithoutTextGiveZeroFalseOrEmpty) {
    writeList(soundList("<G><Name/><MaxSimultaneousSounds/><SoundsAreInterruptible/></G>",
                        cue("", "", "random", sample("", "1", "1", ""))));
    SoundList list;
    std::string error;
    ASSERT_TRUE(loadSoundList("Audio/sounds.xml", list, error)) << error;
    EXPECT_EQ(list.groups[0].maxSimultaneousSounds, 0);
    EXPECT_TRUE(list.groups[0].notInterruptible);
    EXPECT_EQ(list.cues[0].name, "");
    EXPECT_EQ(list.cues[0].samples[0].file, "");
    EXPECT_EQ(list.cues[0].samples[0].weight, 0.0f);
}

TEST_F(SoundListTest, ErrorTexts) {
    const std::string goodGroup = group("effects", "4", "true");
    const std::string goodSample = sample("clink", "1", "1", "1");
    struct Case {
        std::string xml;
        std::string error;
    };
    const Case cases[] = {
        {"<SoundList><AudioCues/></SoundList>", "Missing node: /SoundList/AudioSourceGroups"},
        {"<SoundList><AudioSourceGroups/></SoundList>", "Missing node: /SoundList/AudioCues"},
        {soundList("<Group><Name>a</Name><SoundsAreInterruptible>1</SoundsAreInterruptible></Group>", ""),
         "Missing node: /SoundList/AudioSourceGroups/Group/MaxSimultaneousSounds"},
        {soundList(goodGroup + group("effects", "2", "false"), ""), "Duplicate audio source group name: effects"},
        {soundList(goodGroup, cue("clink", "music", "random", goodSample)), "Invalid source group: music"},
        {soundList(goodGroup, cue("clink", "effects", "Random", goodSample)),
         "Invalid sample selection method: Random"},
        {soundList(goodGroup, cue("clink", "effects", "", goodSample)), "Invalid sample selection method: "},
        {soundList(goodGroup, "<Cue><Name>c</Name><AudioSourceGroup>effects</AudioSourceGroup>"
                              "<SampleSelectionMethod>random</SampleSelectionMethod></Cue>"),
         "Missing node: /SoundList/AudioCues/Cue/Samples"},
        {soundList(goodGroup, cue("clink", "effects", "random",
                                  "<Sample><File>f</File><Volume>1</Volume><PlaybackChanceWeight>1</PlaybackChanceWeight>"
                                  "</Sample>")),
         "Missing node: /SoundList/AudioCues/Cue/Samples/Sample/Pitch"},
        {soundList(goodGroup, cue("clink", "effects", "random", sample("f", "0.5 - 1", "1", "1"))),
         "Invalid range: 0.5 - 1"},
        // A range cannot hold a negative number.
        {soundList(goodGroup, cue("clink", "effects", "random", sample("f", "1", "-1", "1"))), "Invalid range: -1"},
        {soundList(goodGroup, cue("clink", "effects", "random", sample("f", "1", "", "1"))), "Invalid range: "},
        {soundList(goodGroup, cue("clink", "effects", "random", sample("f", "loud", "1", "1"))),
         "Invalid range: loud"},
        {soundList(goodGroup, cue("clink", "effects", "random", sample("f", "0.5-1-2", "1", "1"))),
         "Invalid range: 0.5-1-2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(errorOf(c.xml), c.error) << c.xml;
    }
}

TEST_F(SoundListTest, AFailedOrEmptyListKeepsWhatWasThere) {
    SoundList list;
    list.groups.push_back(AudioSourceGroup{7, true});
    list.cues.push_back(AudioCue{"old", AudioCue::Random, 0, {}});
    std::string error;

    EXPECT_FALSE(loadSoundList("Audio/absent.xml", list, error));
    EXPECT_EQ(error, "Could not read file Audio/absent.xml");
    writeList(soundList(group("a", "1", "1"), cue("c", "missing", "random", "")));
    EXPECT_FALSE(loadSoundList("Audio/sounds.xml", list, error));
    ASSERT_EQ(list.groups.size(), 1u);
    EXPECT_EQ(list.groups[0].maxSimultaneousSounds, 7);
    ASSERT_EQ(list.cues.size(), 1u);

    // Groups but no cues: the groups are replaced, the cues kept.
    writeList(soundList(group("a", "2", "1"), ""));
    EXPECT_TRUE(loadSoundList("Audio/sounds.xml", list, error));
    ASSERT_EQ(list.groups.size(), 1u);
    EXPECT_EQ(list.groups[0].maxSimultaneousSounds, 2);
    ASSERT_EQ(list.cues.size(), 1u);
    EXPECT_EQ(list.cues[0].name, "old");
}

// Handles keep the source index in 16 bits, and a negative size must not reach the
// source table.
TEST_F(SoundListTest, GroupSizesAreClampedAndLogged) {
    writeList(soundList(group("negative", "-5", "1") + group("big", "40000", "1") + group("more", "40000", "1") +
                            group("huge", "99999999999999999999", "1") + group("fine", "0", "1"),
                        ""));
    SoundList list;
    std::string error;
    ASSERT_TRUE(loadSoundList("Audio/sounds.xml", list, error)) << error;
    ASSERT_EQ(list.groups.size(), 5u);
    EXPECT_EQ(list.groups[0].maxSimultaneousSounds, 0);
    EXPECT_EQ(list.groups[1].maxSimultaneousSounds, 40000);
    EXPECT_EQ(list.groups[2].maxSimultaneousSounds, MaxAudioSources - 40000);
    EXPECT_EQ(list.groups[3].maxSimultaneousSounds, 0);
    EXPECT_EQ(list.groups[4].maxSimultaneousSounds, 0);
    ASSERT_EQ(m_logLines.size(), 3u);
    EXPECT_EQ(m_logLines[0], "Audio source group 'negative': MaxSimultaneousSounds -5 is out of range, using 0.\n");
    EXPECT_EQ(m_logLines[1], "Audio source group 'more': MaxSimultaneousSounds 40000 is out of range, using 25535.\n");
}

} // namespace
} // namespace zor
