#include "Framework/core/xml/XmlFile.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "Framework/core/Errors.h"
#include "Framework/core/io/Files.h"
#include "tests/support/common/TempFolder.h"

namespace zor {
namespace {

class XmlFileTest : public ::testing::Test {
protected:
    XmlFileTest() : m_user("ZOR_USER_DIR", (m_folder / "user").string()) {
        initFileSystem((m_folder / "bundle").string());
    }

    void writeGameFile(const std::string& name, const std::string& content) {
        m_folder.write("bundle/" + name, content);
    }

    static ByteArray bytesOf(const std::string& text) {
        ByteArray bytes(new std::uint8_t[text.size()]);
        std::memcpy(bytes.get(), text.data(), text.size());
        return bytes;
    }

    static std::string errorOf(const std::string& name) {
        try {
            XmlFile file(name);
        } catch (const CheckReleaseError& error) {
            return error.what();
        }
        return "no error";
    }

    test::TempFolder m_folder;
    test::ScopedEnv m_user;
};

TEST_F(XmlFileTest, RootIsTheDocumentElementWhateverItsName) {
    writeGameFile("Levels/cave.xml", "<?xml version=\"1.0\"?>\n<!-- a note -->\n<Anything Depth=\"3\"><Row>x</Row></Anything>");
    XmlFile file("Levels/cave.xml");
    EXPECT_STREQ(file.root().name(), "Anything");
    EXPECT_EQ(file.root().attribute("Depth").as_int(), 3);
    EXPECT_STREQ(file.root().child("Row").child_value(), "x");
}

TEST_F(XmlFileTest, MissingOrEmptyFileNamesTheFileAsPassed) {
    writeGameFile("Definitions/empty.xml", "");
    EXPECT_EQ(errorOf("Definitions/absent.xml"), "Could not read file Definitions/absent.xml");
    EXPECT_EQ(errorOf("Definitions/empty.xml"), "Could not read file Definitions/empty.xml");
}

// A file cut short or garbled must fail as a whole instead of yielding the part before
// the fault.
TEST_F(XmlFileTest, MalformedFileGivesTheParserReasonAndOffset) {
    struct Case {
        const char* content;
        const char* expected;
    };
    const Case cases[] = {
        {"<Root><Item></Root>", "Could not parse file bad.xml: Start-end tags mismatch at offset 14"},
        {"<Root><Item/>", "Could not parse file bad.xml: Start-end tags mismatch at offset 12"},
        {"<Root Value=1/>", "Could not parse file bad.xml: Error parsing element attribute at offset 12"},
        {"<!-- only a comment -->", "Could not parse file bad.xml: No document element found at offset 22"},
        {"plain text", "Could not parse file bad.xml: No document element found at offset 9"},
    };
    for (const Case& c : cases) {
        writeGameFile("bad.xml", c.content);
        EXPECT_EQ(errorOf("bad.xml"), c.expected) << c.content;
    }
}

TEST_F(XmlFileTest, ParsesBytesGivenInMemory) {
    const std::string text = "<Root><Name>ember</Name></Root>";
    XmlFile file("memory.xml", bytesOf(text), text.size());
    EXPECT_STREQ(file.root().child("Name").child_value(), "ember");

    // Only `size` bytes count, even when the buffer holds more.
    try {
        XmlFile broken("memory.xml", bytesOf(text), 17);
        ADD_FAILURE() << "a cut document was accepted";
    } catch (const CheckReleaseError& error) {
        EXPECT_EQ(std::string(error.what()), "Could not parse file memory.xml: Start-end tags mismatch at offset 16");
    }
}

} // namespace
} // namespace zor
