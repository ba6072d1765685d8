// The tests' JSON reader: what trz4ctl's writer prints reads back unchanged, and malformed
// text is refused, so that a --json test cannot pass on output that a JSON consumer rejects.
#include "tools/trz4ctl/json.h"
#include "tools/trz4ctl/tests/json_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

JsonValue read(const std::string &text) {
    JsonValue value;
    std::string error;
    EXPECT_TRUE(JsonValue::parse(text, &value, &error)) << error << ": " << text;
    return value;
}

TEST(JsonReader, ReadsBackWhatTheWriterPrints) {
    const std::string awkward = std::string("Zeile\nzwei\t\"q\"\\ \x01\x7f Gerät ") + '\x1f';
    JsonArray results;
    results.add(JsonObject().add("address", "1").add("found", "card"));
    results.add(JsonObject().add("address", "2").add("error", 403012));
    const std::string text = JsonObject()
                                 .add("text", awkward)
                                 .add("negative", -400301)
                                 .add("yes", true)
                                 .add("no", false)
                                 .addRaw("results", results.text())
                                 .text();
    const JsonValue value = read(text);
    EXPECT_EQ(value["text"].toString(), awkward);
    EXPECT_EQ(value["negative"].toInt(), -400301);
    EXPECT_TRUE(value["yes"].toBool());
    EXPECT_TRUE(value.contains("no"));
    EXPECT_FALSE(value["no"].toBool());
    ASSERT_EQ(value["results"].toArray().size(), 2u);
    EXPECT_EQ(value["results"][0]["found"].toString(), "card");
    EXPECT_EQ(value["results"][1]["error"].toInt(), 403012);
    // Absent members and wrong types give empty values, never a crash.
    EXPECT_FALSE(value.contains("missing"));
    EXPECT_EQ(value["missing"][3]["x"].type(), JsonValue::Type::Null);
    EXPECT_EQ(value["text"].toInt(), 0);
}

TEST(JsonReader, EscapesAndNumbersOfTheStandard) {
    const JsonValue value =
        read(R"( {"a":"\u00e4\u20ac\ud83d\ude00\/","n":[0,-1.5e2,12E+1,null]} )");
    EXPECT_EQ(value["a"].toString(), "ä€😀/");
    EXPECT_EQ(value["n"][1].toInt(), -150);
    EXPECT_EQ(value["n"][2].toInt(), 120);
    EXPECT_EQ(value["n"][3].type(), JsonValue::Type::Null);
}

TEST(JsonReader, RefusesMalformedText) {
    for (const char *bad : {"",
                            "{",
                            "{}x",
                            "{} {}",
                            R"({"a":1,})",
                            "[1,]",
                            "{a:1}",
                            "{'a':1}",
                            R"({"a" 1})",
                            "[01]",
                            "[1.]",
                            "[.5]",
                            "[+1]",
                            "[1e]",
                            "[tru]",
                            "[\"a\nb\"]",
                            R"(["\x"])",
                            R"(["\u12"])",
                            R"(["\udc00"])",
                            R"(["\ud800x"])",
                            R"({"a":1,"a":2})",
                            "\"open"}) {
        JsonValue value;
        std::string error;
        EXPECT_FALSE(JsonValue::parse(bad, &value, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    // Nesting deeper than any printer writes is refused rather than recursed into.
    JsonValue value;
    std::string error;
    EXPECT_FALSE(JsonValue::parse(std::string(100, '[') + std::string(100, ']'), &value, &error));
    EXPECT_TRUE(JsonValue::parse(std::string(60, '[') + std::string(60, ']'), &value, &error))
        << error;
}

} // namespace
