#include "resources/StringTable.h"

#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <regex>

namespace kelto {
namespace {

TEST(StringTableTest, EnglishTextsStandAsTheProgramQuotesThem) {
    setUiLanguage(UiLanguage::EnglishUS);
    EXPECT_EQ(LoadMessage(157), "Kelto TV");
    EXPECT_EQ(LoadMessage(140), "The Kelto TV does not support WDM. \n\rRun the KeltoTV under Windows98 or lower version.");
    EXPECT_EQ(LoadMessage(141), "Does not support more than 1280*960(32bit True Color).");
    EXPECT_EQ(LoadMessage(149), "Cannot find the mixer.");
    setUiLanguage(std::nullopt);
}

TEST(StringTableTest, AnUnknownIdentifierIsNamedInTheFallbackText) {
    setUiLanguage(UiLanguage::Korean);
    EXPECT_EQ(LoadMessage(4242), "Found not Message!=4242");
    EXPECT_EQ(LoadMessage(-1), "Found not Message!=-1");
    setUiLanguage(std::nullopt);
}

TEST(StringTableTest, EachLanguageHasItsOwnText) {
    const auto english = findString(UiLanguage::EnglishUS, 149);
    ASSERT_TRUE(english);
    std::set<std::string> texts{*english};
    for (UiLanguage l : {UiLanguage::Japanese, UiLanguage::Korean, UiLanguage::ChineseSimplified}) {
        const auto text = findString(l, 149);
        ASSERT_TRUE(text);
        texts.insert(*text);
    }
    EXPECT_EQ(texts.size(), 4u);
}

TEST(StringTableTest, TheLocaleChoosesTheLanguage) {
    struct Case {
        const char* language;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        UiLanguage expected;
    };
    const Case cases[] = {
        {"", "", "", "ja_JP.UTF-8", UiLanguage::Japanese},
        {"", "", "ko_KR.UTF-8", "ja_JP.UTF-8", UiLanguage::Korean},
        {"", "zh_CN.UTF-8", "ko_KR", "", UiLanguage::ChineseSimplified},
        {"fr:ja", "ko_KR", "", "", UiLanguage::Japanese},
        {"", "", "", "zh_TW.Big5", UiLanguage::ChineseSimplified},
        {"", "de_DE.UTF-8", "", "ja_JP", UiLanguage::EnglishUS},
        {"", "", "", "", UiLanguage::EnglishUS},
    };
    for (const auto& c : cases) {
        ::setenv("LANGUAGE", c.language, 1);
        ::setenv("LC_ALL", c.lcAll, 1);
        ::setenv("LC_MESSAGES", c.lcMessages, 1);
        ::setenv("LANG", c.lang, 1);
        EXPECT_EQ(languageFromEnvironment(), c.expected) << c.language << "|" << c.lcAll << "|" << c.lang;
    }
    ::setenv("LANG", "ko_KR.UTF-8", 1);
    EXPECT_EQ(LoadMessage(149), *findString(UiLanguage::Korean, 149));
    ::setenv("LANG", "C.UTF-8", 1);
}

// The four files carry the same identifiers, and every translation keeps the English text's
// printf specifiers in the same order, so a formatted message never reads a wrong argument.
TEST(StringTableTest, TheShippedTablesAgree) {
    const auto english = parseStringTable(test::readFile(std::string(KELTO_STRINGS_DIR) + "/en-US.strings"));
    ASSERT_GT(english.size(), 50u);
    const std::regex specifier("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z]");
    auto specifiers = [&](const std::string& text) {
        std::string all;
        for (std::sregex_iterator it(text.begin(), text.end(), specifier), end; it != end; ++it) all += it->str();
        return all;
    };
    for (const char* file : {"ja-JP.strings", "ko-KR.strings", "zh-CN.strings"}) {
        const auto other = parseStringTable(test::readFile(std::string(KELTO_STRINGS_DIR) + "/" + file));
        ASSERT_EQ(other.size(), english.size()) << file;
        for (const auto& [id, text] : english) {
            ASSERT_TRUE(other.count(id)) << file << " lacks " << id;
            EXPECT_EQ(specifiers(other.at(id)), specifiers(text)) << file << " " << id;
        }
    }
}

TEST(StringTableTest, ParsesEscapesAndSkipsBrokenLines) {
    const auto table = parseStringTable("# comment\n1\ta\\n\\rb\\t\\\\c\r\nbad line\n\tno id\n2x\tnot a number\n3\t  spaced \n");
    EXPECT_EQ(table.size(), 2u);
    EXPECT_EQ(table.at(1), "a\n\rb\t\\c");
    EXPECT_EQ(table.at(3), "  spaced ");
}

}  // namespace
}  // namespace kelto
