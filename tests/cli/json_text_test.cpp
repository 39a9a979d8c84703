// The JSON the command line writes for scripts: valid whatever bytes it
// carries, and read back by the runs that follow other runs.

#include "cli/json_text.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

TEST(JsonText, EveryByteMakesValidJsonThatKeepsTheText)
{
    struct Case
    {
        std::string bytes, quoted, decoded;
    };
    // The first and last characters of each length: U+07FF, U+0800, U+FFFF, U+10000, U+10FFFF.
    const std::string edges = "\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf";
    // clang-format off
    const Case cases[] = {
        {"plain",                 "\"plain\"",                       "plain"},
        {edges,                   "\"" + edges + "\"",               edges},
        {"say \"hi\" \\ bye",     "\"say \\\"hi\\\" \\\\ bye\"",     "say \"hi\" \\ bye"},
        {"a\r\nb\tc",             "\"a\\u000d\\u000ab\\u0009c\"",    "a\r\nb\tc"},
        {std::string("\0\x1f\x7f", 3), "\"\\u0000\\u001f\\u007f\"",  std::string("\0\x1f\x7f", 3)},
        {"Recepción € ✓",         "\"Recepción € ✓\"",               "Recepción € ✓"},
        {"\xc2\x80\xc2\x85",      "\"\\u0080\\u0085\"",              "\xc2\x80\xc2\x85"}, // C1 controls
        {"\xc2\x9f\xc2\xa0",      "\"\\u009f\xc2\xa0\"",             "\xc2\x9f\xc2\xa0"}, // the last C1 control, then no-break space
        {"Recepci\xf3n \x80",     "\"Recepci\\u00f3n \\u20ac\"",     "Recepción €"},   // Windows-1252
        {"\x81\x9d",              "\"\\u0081\\u009d\"",              "\xc2\x81\xc2\x9d"},
        {"\xc3",                  "\"\\u00c3\"",                     "Ã"},             // cut short
        {"\xe0\x80\xaf",          "\"\\u00e0\\u20ac\\u00af\"",       "à€¯"},           // overlong
        {"\xed\xa0\x80",          "\"\\u00ed\\u00a0\\u20ac\"",       "í\xc2\xa0€"},    // a surrogate
        {"\xf4\x90\x80\x80",      "\"\\u00f4\\u0090\\u20ac\\u20ac\"", "ô\xc2\x90€€"},  // past U+10FFFF
    };
    // clang-format on
    for (const Case &c : cases) {
        const std::string quoted = json::Quote(c.bytes);
        EXPECT_EQ(quoted, c.quoted) << c.quoted;
        EXPECT_EQ(nlohmann::json::parse(quoted).get<std::string>(), c.decoded) << c.quoted;
        const std::string line =
            json::Object().Text("text", c.bytes).Number("n", -3).Flag("f", true).Str();
        const auto read = json::ReadFlatObject(line);
        ASSERT_TRUE(read) << line;
        EXPECT_EQ(*read, (std::map<std::string, std::string>{
                             {"text", c.decoded}, {"n", "-3"}, {"f", "true"}}))
            << line;
    }
}

TEST(JsonText, OnlyTheFlatLinesAreReadBack)
{
    for (const char *line :
         {"", "{", "not json", "{\"a\":[1]}", "{\"a\":{\"b\":1}}", "{\"a\":\"open}", "{\"a\" 1}",
          "{a:1}", "{\"a\":1 \"b\":2}", "{\"a\":\"\\q\"}"})
        EXPECT_FALSE(json::ReadFlatObject(line)) << line;
    const std::string nested = json::Object()
                                   .Raw("list", json::Array({json::Quote("x"), "null"}))
                                   .Raw("inner", json::Object().Number("n", 1).Str())
                                   .Str();
    EXPECT_EQ(nlohmann::json::parse(nested),
              nlohmann::json::parse(R"({"list":["x",null],"inner":{"n":1}})"));
}
