#include "Framework/core/xml/XmlValues.h"

#include <limits>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "Framework/core/math/Color.h"
#include "Framework/core/math/Rect.h"
#include "Framework/core/math/Vector.h"

namespace zor {
namespace {

pugi::xml_node firstElement(pugi::xml_document& document, const char* text) {
    EXPECT_TRUE(document.load_string(text));
    return document.document_element();
}

TEST(XmlValues, LenientNumbers) {
    const struct {
        const char* text;
        int integer;
        float number;
    } cases[] = {
        {"12", 12, 12.0f},      {"-7", -7, -7.0f},     {"+5", 5, 5.0f},        {"12abc", 12, 12.0f},
        {"3.75", 3, 3.75f},     {"-0.25", 0, -0.25f},  {"2e1", 2, 20.0f},      {"abc", 0, 0.0f},
        {"", 0, 0.0f},          {"-", 0, 0.0f},        {"7px", 7, 7.0f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseLenientInt(c.text), c.integer) << '"' << c.text << '"';
        EXPECT_EQ(parseLenientFloat(c.text), c.number) << '"' << c.text << '"';
    }
    // Out of range text saturates instead of wrapping around.
    EXPECT_EQ(parseLenientInt("99999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(parseLenientInt("-99999999999"), std::numeric_limits<int>::min());
}

TEST(XmlValues, FlagsLookOnlyAtTheFirstCharacter) {
    for (const char* text : {"1", "t", "T", "y", "Y", "yes", "True", "true", "10", "yikes"})
        EXPECT_TRUE(parseFlag(text)) << '"' << text << '"';
    for (const char* text : {"0", "f", "n", "no", "false", "False", "", " y", "2", "on"})
        EXPECT_FALSE(parseFlag(text)) << '"' << text << '"';
}

TEST(XmlValues, ChildWithoutTextCountsAsAbsent) {
    pugi::xml_document document;
    const pugi::xml_node e = firstElement(document,
        "<E><A>5</A><A>6</A><B></B><C/><D><![CDATA[7]]></D><S>words here</S><Z>0</Z></E>");
    EXPECT_EQ(xmlChildInt(e, "A", -1), 5); // first child of the name
    EXPECT_EQ(xmlChildInt(e, "B", -1), -1);
    EXPECT_EQ(xmlChildInt(e, "C", -1), -1);
    EXPECT_EQ(xmlChildInt(e, "D", -1), 7);
    EXPECT_EQ(xmlChildInt(e, "Missing", -1), -1);
    EXPECT_EQ(xmlChildFloat(e, "B", 2.5f), 2.5f);
    EXPECT_EQ(xmlChildFloat(e, "S", 2.5f), 0.0f); // present but not a number
    EXPECT_TRUE(xmlChildBool(e, "C", true));
    EXPECT_FALSE(xmlChildBool(e, "Z", true));
    EXPECT_EQ(xmlChildString(e, "B", "kept"), "kept");
    EXPECT_EQ(xmlChildString(e, "S", "kept"), "words here");
    EXPECT_EQ(xmlChildText(e, "B"), nullptr);
    EXPECT_EQ(xmlChildInt(pugi::xml_node(), "A", 9), 9);
}

TEST(XmlValues, PresentEmptyAttributeIsRead) {
    pugi::xml_document document;
    const pugi::xml_node e = firstElement(document, R"(<E Empty="" N="-3x" F="0.5" B="Yes" S="s"/>)");
    EXPECT_EQ(xmlAttributeInt(e, "Empty", 4), 0);
    EXPECT_EQ(xmlAttributeFloat(e, "Empty", 4.0f), 0.0f);
    EXPECT_FALSE(xmlAttributeBool(e, "Empty", true));
    EXPECT_EQ(xmlAttributeString(e, "Empty", "kept"), "");
    EXPECT_EQ(xmlAttributeInt(e, "N", 4), -3);
    EXPECT_EQ(xmlAttributeFloat(e, "F", 4.0f), 0.5f);
    EXPECT_TRUE(xmlAttributeBool(e, "B", false));
    EXPECT_EQ(xmlAttributeInt(e, "Missing", 4), 4);
    EXPECT_EQ(xmlAttributeString(e, "Missing", "kept"), "kept");
}

template <class T>
std::string castError(const char* text) {
    pugi::xml_document document;
    const std::string xml = std::string("<E><V>") + text + "</V></E>";
    EXPECT_TRUE(document.load_string(xml.c_str()));
    try {
        xmlChildCast(document.document_element(), "V", T{});
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no error";
}

TEST(XmlValues, VectorsRectanglesAndColoursAreStrict) {
    pugi::xml_document document;
    const pugi::xml_node e = firstElement(document,
        R"(<E Offset="12;-4" Color="1;0.5;0.25"><Box>0;0;40;40</Box><Cell>3;4</Cell><Odd>1,2</Odd></E>)");
    EXPECT_EQ(xmlAttributeCast(e, "Offset", fpVector2()), fpVector2(12.0f, -4.0f));
    EXPECT_EQ(xmlAttributeCast(e, "Color", Color3()), Color3(1.0f, 0.5f, 0.25f));
    EXPECT_EQ(xmlChildCast(e, "Box", fpRect()), fpRect(0.0f, 0.0f, 40.0f, 40.0f));
    EXPECT_EQ(xmlChildCast(e, "Cell", iVector2()), iVector2(3, 4));
    EXPECT_EQ(xmlChildCast(e, "Odd", fpVector2()), fpVector2(1.0f, 2.0f)); // any one separator
    EXPECT_EQ(xmlChildCast(e, "Missing", fpRect(1, 2, 3, 4)), fpRect(1, 2, 3, 4));

    const std::string conversion = "bad lexical cast: source type value could not be interpreted as target";
    for (const char* text : {"0;0;40", "1; 2;3;4", "1;2;3;4;", "1;2;3;4 ", "a;b;c;d"})
        EXPECT_EQ(castError<fpRect>(text), conversion) << '"' << text << '"';
    for (const char* text : {"1;0.5", "1, 0.5, 0", "1;0.5;0;1", " 1;0.5;0"})
        EXPECT_EQ(castError<Color3>(text), conversion) << '"' << text << '"';
    for (const char* text : {"1;2;3", "1", "1;"})
        EXPECT_EQ(castError<fpVector2>(text), conversion) << '"' << text << '"';
}

std::string errorText(void (*call)(const pugi::xml_node&), const pugi::xml_node& node) {
    try {
        call(node);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no error";
}

TEST(XmlValues, RequiredReadersNameThePath) {
    pugi::xml_document document;
    const pugi::xml_node root =
        firstElement(document, R"(<ActorDefinitions><Actor><Empty/><Beams><Beam Tier="" Level="12"/></Beams></Actor></ActorDefinitions>)");
    const pugi::xml_node actor = root.child("Actor");
    const pugi::xml_node beam = actor.child("Beams").child("Beam");

    EXPECT_EQ(errorText([](const pugi::xml_node& n) { requireXmlChild(n, "Name"); }, actor),
              "Missing node: /ActorDefinitions/Actor/Name");
    EXPECT_EQ(errorText([](const pugi::xml_node& n) { requireXmlChildText(n, "Name"); }, actor),
              "Missing node: /ActorDefinitions/Actor/Name");
    EXPECT_EQ(errorText([](const pugi::xml_node& n) { requireXmlAttribute(n, "Definition"); }, beam),
              "Missing attribute: /ActorDefinitions/Actor/Beams/Beam/@Definition");
    EXPECT_EQ(errorText([](const pugi::xml_node& n) { requireXmlAttributeText(n, "Definition"); }, beam),
              "Missing attribute: /ActorDefinitions/Actor/Beams/Beam/@Definition");
    EXPECT_EQ(errorText([](const pugi::xml_node& n) { requireXmlAttributeInt(n, "Count"); }, beam),
              "Missing attribute: /ActorDefinitions/Actor/Beams/Beam/@Count");
    EXPECT_EQ(errorText([](const pugi::xml_node& n) { requireXmlChild(n, "Level"); }, pugi::xml_node()),
              "Missing node: /Level");

    EXPECT_EQ(requireXmlChildText(actor, "Empty"), "");
    EXPECT_EQ(requireXmlAttributeInt(beam, "Tier"), 0);
    EXPECT_EQ(requireXmlAttributeInt(beam, "Level"), 12);
    EXPECT_EQ(requireXmlChild(actor, "Beams"), actor.child("Beams"));
}

} // namespace
} // namespace zor
