#include "game/definitions/DefinitionRegistry.h"

#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Framework/core/io/Files.h"
#include "game/definitions/DefinitionLoader.h"
#include "Framework/core/xml/XmlValues.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

// Minimal records for the two loader flavours: a kept-or-replaced value, an appended
// list, and a way to make the reader fail.
struct Probe {
    std::string label = "default";
    std::vector<std::string> tags;

    void read(const pugi::xml_node& element) {
        label = xmlChildString(element, "Label", label);
        for (const pugi::xml_node tag : element.children("Tag"))
            tags.push_back(tag.child_value());
        if (const char* reason = xmlChildText(element, "Fail"))
            throw std::runtime_error(reason);
        if (element.child("Throw"))
            throw 7;
    }
};

struct TreeProbe {
    std::string label = "default";

    void read(const boost::property_tree::ptree& definition) {
        label = definition.get<std::string>("Label", label);
        if (auto reason = definition.get_optional<std::string>("Fail"))
            throw std::runtime_error(*reason);
    }
};

using Probes = DefinitionRegistry<Probe>;
using TreeProbes = DefinitionRegistry<TreeProbe>;

std::string loadError(Probes& registry, const std::string& text) {
    try {
        registry.loadText("Definitions/probes.xml", text);
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

std::string loadError(TreeProbes& registry, const std::string& text) {
    try {
        registry.loadText("Definitions/probes.xml", text);
    } catch (const CheckReleaseError& error) {
        return error.what();
    }
    return "no error";
}

std::vector<std::string> labels(const Probes& registry) {
    std::vector<std::string> result;
    for (const auto& record : registry.definitions())
        result.push_back(record->label);
    return result;
}

TEST(DefinitionRegistry, LookupsByName) {
    Probes registry("Probes", "Probe", "Name");
    EXPECT_EQ(registry.find("a"), nullptr);
    EXPECT_FALSE(registry.contains("a"));
    EXPECT_FALSE(registry.contains(""));

    auto first = std::make_shared<Probe>();
    auto second = std::make_shared<Probe>();
    auto duplicate = std::make_shared<Probe>();
    registry.add("a", first);
    registry.add("b", second);
    registry.add("a", duplicate);

    // The name finds the first record; the vector keeps every record in order.
    EXPECT_EQ(registry.find("a"), first);
    EXPECT_EQ(&registry.get("a"), first.get());
    EXPECT_EQ(&registry.get("b"), second.get());
    ASSERT_EQ(registry.definitions().size(), 3u);
    EXPECT_EQ(registry.definitions()[2], duplicate);
    EXPECT_EQ(registry.nameIndex().size(), 2u);
    EXPECT_EQ(registry.nameIndex().at("b"), 1);

    // Exact comparison: no case folding, no trimming.
    for (const char* absent : {"A", "a ", " a", "c", ""}) {
        EXPECT_EQ(registry.find(absent), nullptr) << '"' << absent << '"';
        EXPECT_FALSE(registry.contains(absent)) << '"' << absent << '"';
    }
}

// A name that data or code relies on and that is not there: an orderly error naming the
// kind and the name rather than a read through nothing.
TEST(DefinitionRegistry, MustFindLookupOfAnAbsentNameThrows) {
    Probes registry("Probes", "Probe", "Name");
    for (int filled = 0; filled < 2; ++filled) {
        try {
            registry.get("lantern");
            ADD_FAILURE() << "no error";
        } catch (const CheckReleaseError& error) {
            EXPECT_EQ(std::string(error.what()), "Could not find Probe definition 'lantern'");
        }
        registry.add("ladder", std::make_shared<Probe>());
    }
}

TEST(DefinitionLoader, TemplatesComeOnlyFromEarlierDefinitions) {
    Probes registry("Probes", "Probe", "Name");
    registry.loadText("Definitions/probes.xml", R"(<AnyRootName>
        <Probe><Name>early</Name><Template>base</Template></Probe>
        <Probe><Name>base</Name><Label>stone</Label><Tag>t1</Tag></Probe>
        <Probe><Name>child</Name><Template>base</Template></Probe>
        <Probe><Name>grandchild</Name><Template>child</Template><Label>moss</Label><Tag>t2</Tag></Probe>
        <Probe><Name>orphan</Name><Template>nowhere</Template><Tag>t3</Tag></Probe>
        <Other><Name>skipped</Name><Label>never</Label></Other>
        <Probe><Name>base</Name><Template>base</Template><Tag>t4</Tag></Probe>
        <Probe><Name></Name><Label>nameless</Label></Probe>
    </AnyRootName>)");

    EXPECT_EQ(labels(registry),
              (std::vector<std::string>{"default", "stone", "stone", "moss", "default", "stone", "nameless"}));
    const auto& all = registry.definitions();
    EXPECT_TRUE(all[0]->tags.empty());
    EXPECT_EQ(all[2]->tags, std::vector<std::string>{"t1"});
    EXPECT_EQ(all[3]->tags, (std::vector<std::string>{"t1", "t2"}));
    EXPECT_EQ(all[4]->tags, std::vector<std::string>{"t3"});
    // A definition naming itself finds the earlier one of that name; the name keeps
    // pointing at the first.
    EXPECT_EQ(all[5]->tags, (std::vector<std::string>{"t1", "t4"}));
    EXPECT_EQ(registry.find("base"), all[1]);
    EXPECT_EQ(registry.find(""), all[6]);
    EXPECT_FALSE(registry.contains("skipped"));
    // A copy, not a share: the template is unchanged by its users.
    EXPECT_EQ(all[1]->tags, std::vector<std::string>{"t1"});
}

TEST(DefinitionLoader, NameFromAttributeOrCharacterData) {
    Probes byAttribute("Probes", "Probe", "@Name");
    byAttribute.loadText("a.xml", R"(<R><Probe Name="lamp"><Label>x</Label></Probe><Probe Name=""/></R>)");
    EXPECT_EQ(byAttribute.get("lamp").label, "x");
    EXPECT_TRUE(byAttribute.contains(""));

    Probes byChild("Probes", "Probe", "Name");
    byChild.loadText("b.xml", R"(<R><Probe><Name><![CDATA[a<b]]></Name></Probe><Probe><Name/></Probe></R>)");
    EXPECT_TRUE(byChild.contains("a<b"));
    EXPECT_TRUE(byChild.contains(""));
}

TEST(DefinitionLoader, ErrorTextsNest) {
    const struct {
        const char* xml;
        const char* expected;
        std::size_t registered;
    } cases[] = {
        {"<R><Probe><Name>a</Name></Probe><Probe><Name>b</Name><Fail>bad tier</Fail></Probe>"
         "<Probe><Name>c</Name></Probe></R>",
         "Could not load Probes from file 'Definitions/probes.xml', reason: Could not read Probe definition 'b' "
         "in file 'Definitions/probes.xml', reason: bad tier",
         1},
        {"<R><Probe><Name>a</Name></Probe><Other/><Probe><Name>b</Name></Probe><Probe><Label>c</Label></Probe>"
         "<Probe><Name>d</Name></Probe></R>",
         "Could not load Probes from file 'Definitions/probes.xml', reason: Definition 2 missing name", 2},
        {"<R><Probe><Name>a</Name></Probe><Probe><Name>b</Name></R>",
         "Could not load Probes from file 'Definitions/probes.xml', reason: Could not parse file "
         "Definitions/probes.xml: Start-end tags mismatch at offset 55",
         0},
        {"", "Could not load Probes from file 'Definitions/probes.xml', reason: Could not read file Definitions/probes.xml",
         0},
    };
    for (const auto& c : cases) {
        Probes registry("Probes", "Probe", "Name");
        EXPECT_EQ(loadError(registry, c.xml), c.expected) << c.xml;
        EXPECT_EQ(registry.definitions().size(), c.registered) << c.xml;
    }
}

TEST(DefinitionLoader, ForeignExceptionsPassThrough) {
    Probes registry("Probes", "Probe", "Name");
    EXPECT_THROW(registry.loadText("p.xml", "<R><Probe><Name>a</Name><Throw/></Probe></R>"), int);
}

TEST(DefinitionLoader, PropertyTreeFlavour) {
    TreeProbes registry("Probes", "Probe", "Name");
    registry.loadText("Definitions/probes.xml", R"(<Probes Version="2">
        <!-- a comment between definitions -->
        <Probe><Name>early</Name><Template>base</Template></Probe>
        <Probe><Name>base</Name><Label>clay</Label></Probe>
        <Probe><Name>child</Name><Template>base</Template></Probe>
        <Other><Name>skipped</Name></Other>
        <Probe><Name>orphan</Name><Template>nowhere</Template></Probe>
    </Probes>)");
    ASSERT_EQ(registry.definitions().size(), 4u);
    EXPECT_EQ(registry.get("early").label, "default");
    EXPECT_EQ(registry.get("child").label, "clay");
    EXPECT_EQ(registry.get("orphan").label, "default");
    EXPECT_FALSE(registry.contains("skipped"));

    TreeProbes byAttribute("Groups", "Group", "<xmlattr>.Name");
    byAttribute.loadText("g.xml", R"(<Groups><Group Name="buildings"><Label>b</Label></Group></Groups>)");
    EXPECT_EQ(byAttribute.get("buildings").label, "b");
}

TEST(DefinitionLoader, PropertyTreeErrorTexts) {
    const std::string prefix = "Could not load Probes from file 'Definitions/probes.xml', reason: ";
    const struct {
        const char* xml;
        std::string expected;
        std::size_t registered;
    } cases[] = {
        {"<Other><Probe><Name>a</Name></Probe></Other>", prefix + "No such node (Probes)", 0},
        {"<Probes><Probe><Name>a</Name></Probe><Probe><Label>b</Label></Probe></Probes>",
         prefix + "No such node (Name)", 1},
        {"<Probes><Probe><Name>a</Name><Fail>no weapon</Fail></Probe></Probes>",
         prefix + "Could not read Probe definition 'a' in file 'Definitions/probes.xml', reason: no weapon", 0},
        {"", prefix + "Could not read definitions file Definitions/probes.xml", 0},
    };
    for (const auto& c : cases) {
        TreeProbes registry("Probes", "Probe", "Name");
        EXPECT_EQ(loadError(registry, c.xml), c.expected) << c.xml;
        EXPECT_EQ(registry.definitions().size(), c.registered) << c.xml;
    }
    TreeProbes registry("Probes", "Probe", "Name");
    const std::string malformed = loadError(registry, "<Probes><Probe></Probes>");
    EXPECT_EQ(malformed.rfind(prefix, 0), 0u) << malformed;
    EXPECT_GT(malformed.size(), prefix.size());
}

class DefinitionFiles : public ::testing::Test {
protected:
    DefinitionFiles() : m_user("ZOR_USER_DIR", (m_folder / "user").string()) {
        initFileSystem((m_folder / "bundle").string());
    }

    test::TempFolder m_folder;
    test::ScopedEnv m_user;
};

TEST_F(DefinitionFiles, MissingFileTextsOfBothFlavours) {
    Probes probes("ActorDefinitions", "Actor", "Name");
    TreeProbes treeProbes("Characters", "Character", "Name");
    try {
        probes.loadFile("Definitions/actors.xml");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not load ActorDefinitions from file 'Definitions/actors.xml', "
                                             "reason: Could not read file Definitions/actors.xml");
    }
    try {
        treeProbes.loadFile("Definitions/characters.xml");
        ADD_FAILURE() << "no error";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not load Characters from file 'Definitions/characters.xml', "
                                             "reason: Could not read definitions file Definitions/characters.xml");
    }
}

TEST_F(DefinitionFiles, LoadsFromTheGameDataFolder) {
    m_folder.write("bundle/Definitions/probes.xml", "<R><Probe><Name>a</Name><Label>x</Label></Probe></R>");
    m_folder.write("bundle/Definitions/tree.xml", "<Probes><Probe><Name>b</Name><Label>y</Label></Probe></Probes>");
    Probes probes("Probes", "Probe", "Name");
    TreeProbes treeProbes("Probes", "Probe", "Name");
    probes.loadFile("Definitions/probes.xml");
    treeProbes.loadFile("Definitions/tree.xml");
    EXPECT_EQ(probes.get("a").label, "x");
    EXPECT_EQ(treeProbes.get("b").label, "y");
}

} // namespace
} // namespace zor
