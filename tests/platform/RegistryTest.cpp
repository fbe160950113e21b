#include "platform/Registry.h"

#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelto::platform {
namespace {

using test::TemporaryFolder;
constexpr auto HKCU = RegHive::CurrentUser;
constexpr auto HKLM = RegHive::LocalMachine;
const char* kKey = "Software\\UserVxdKeltoTV\\KeltoTV\\user";

TEST(RegistryTest, ValuesSurviveAReopenWithTheirTypesAndSpelling) {
    TemporaryFolder dir;
    {
        Registry reg(dir.path());
        EXPECT_TRUE(reg.setDword(HKCU, kKey, "s_flag", 1));
        EXPECT_TRUE(reg.setDword(HKCU, kKey, "Negative", static_cast<std::uint32_t>(-7)));
        EXPECT_TRUE(reg.setString(HKCU, kKey, "bmpdirectory", "/home/me/Capture \"tv\"\\x\nnext"));
        EXPECT_TRUE(reg.setString(HKLM, "SOFTWARE\\Brooktree\\Audio\\RiscEnabled", "", "0"));
        EXPECT_TRUE(reg.setString(HKCU, kKey, "japanese", "テレビ"));
    }
    Registry reopened(dir.path());
    EXPECT_EQ(reopened.queryDword(HKCU, kKey, "s_flag"), 1u);
    EXPECT_EQ(static_cast<int>(*reopened.queryDword(HKCU, kKey, "negative")), -7);
    EXPECT_EQ(reopened.queryString(HKCU, kKey, "BMPDIRECTORY"), "/home/me/Capture \"tv\"\\x\nnext");
    EXPECT_EQ(reopened.queryString(HKLM, "software\\brooktree\\audio\\riscenabled", ""), "0");
    EXPECT_EQ(reopened.queryString(HKCU, kKey, "japanese"), "テレビ");
    // Wrong type reads as absent; hives are separate.
    EXPECT_FALSE(reopened.queryString(HKCU, kKey, "s_flag"));
    EXPECT_FALSE(reopened.queryDword(HKLM, kKey, "s_flag"));

    const std::string text = test::readFile(dir / "HKEY_CURRENT_USER.reg");
    EXPECT_TRUE(text.starts_with("REGEDIT4\n"));
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\UserVxdKeltoTV\\KeltoTV\\user]"), std::string::npos);
    EXPECT_NE(text.find("\"s_flag\"=dword:00000001"), std::string::npos);
    EXPECT_NE(test::readFile(dir / "HKEY_LOCAL_MACHINE.reg").find("@=\"0\""), std::string::npos);
}

TEST(RegistryTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
    TemporaryFolder dir;
    Registry reg(dir.path());
    reg.setDword(HKCU, kKey, "ScanType", 3);
    reg.setDword(HKCU, "SOFTWARE\\USERVXDKELTOTV\\KELTOTV\\USER", "scantype", 0);
    EXPECT_EQ(reg.valueNames(HKCU, kKey), std::vector<std::string>{"ScanType"});
    EXPECT_EQ(reg.queryDword(HKCU, kKey, "SCANTYPE"), 0u);
    EXPECT_EQ(reg.subkeyNames(HKCU, "software"), std::vector<std::string>{"UserVxdKeltoTV"});
}

TEST(RegistryTest, DeletesValuesAndWholeKeys) {
    TemporaryFolder dir;
    Registry reg(dir.path());
    reg.setDword(HKCU, "A\\B\\C", "x", 1);
    reg.setDword(HKCU, "A\\B", "y", 2);
    reg.createKey(HKCU, "A\\Empty");
    EXPECT_TRUE(reg.deleteValue(HKCU, "a\\b", "Y"));
    EXPECT_FALSE(reg.deleteValue(HKCU, "a\\b", "y"));
    EXPECT_TRUE(reg.deleteKey(HKCU, "A\\B"));
    EXPECT_FALSE(reg.keyExists(HKCU, "A\\B\\C"));
    EXPECT_FALSE(reg.deleteKey(HKCU, ""));  // the root stays

    Registry reopened(dir.path());
    EXPECT_TRUE(reopened.keyExists(HKCU, "A\\Empty"));  // empty keys persist
    EXPECT_FALSE(reopened.keyExists(HKCU, "A\\B"));
}

TEST(RegistryTest, ValuesOfOtherTypesAreKeptThroughASave) {
    TemporaryFolder dir;
    test::writeFile(dir / "HKEY_CURRENT_USER.reg",
                    "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Keep]\r\n\"bin\"=hex:01,02,\\\r\n  03\r\n\"x\"=dword:0000000a\r\n");
    Registry reg(dir.path());
    EXPECT_EQ(reg.queryDword(HKCU, "Keep", "x"), 10u);
    reg.setDword(HKCU, "Keep", "y", 1);
    Registry reopened(dir.path());
    const auto bin = reopened.queryValue(HKCU, "Keep", "bin");
    ASSERT_TRUE(bin);
    EXPECT_EQ(bin->type, RegType::Other);
    EXPECT_EQ(bin->text, "hex:01,02,03");
}

TEST(RegistryTest, AnUnreadableHiveIsMovedAsideNeverOverwritten) {
    TemporaryFolder dir;
    const auto hive = dir / "HKEY_CURRENT_USER.reg";
    const std::string garbage = "REGEDIT4\n[HKEY_CURRENT_USER\\X]\n\"half\"=dwo";
    for (const char* bad : {"not a hive at all", garbage.c_str(), "REGEDIT4\n\"v\"=\"outside any key\"\n",
                            "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Wrong]\n"}) {
        test::writeFile(hive, bad);
        Registry reg(dir.path());
        EXPECT_FALSE(reg.queryDword(HKCU, "X", "half")) << bad;
        EXPECT_FALSE(std::filesystem::exists(hive)) << bad;
        reg.setDword(HKCU, "X", "fresh", 5);  // writing starts a new hive beside the bad one
        EXPECT_EQ(Registry(dir.path()).queryDword(HKCU, "X", "fresh"), 5u);
    }
    EXPECT_EQ(test::readFile(dir / "HKEY_CURRENT_USER.reg.bad"), "not a hive at all");
    EXPECT_EQ(test::readFile(dir / "HKEY_CURRENT_USER.reg.bad.2"), garbage);
    EXPECT_TRUE(std::filesystem::exists(dir / "HKEY_CURRENT_USER.reg.bad.4"));
    const std::string log = test::readFile(std::filesystem::path(std::getenv("KELTO_ROOT")) / "KeltoTV.log");
    EXPECT_NE(log.find("does not parse"), std::string::npos);
}

TEST(RegistryTest, TwoProcessesWritingAtOnceLoseNothing) {
    TemporaryFolder dir;
    constexpr int kValues = 150;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            Registry reg(dir.path());
            for (int i = 0; i < kValues; ++i)
                reg.setDword(HKCU, "Shared", "p" + std::to_string(c) + "_" + std::to_string(i), std::uint32_t(i));
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Registry reg(dir.path());
    EXPECT_EQ(reg.valueNames(HKCU, "Shared").size(), 2u * kValues);
    EXPECT_EQ(reg.queryDword(HKCU, "Shared", "p1_149"), 149u);
}

TEST(RegistryTest, ABatchSavesOnceAndOtherInstancesSeeTheResult) {
    TemporaryFolder dir;
    Registry writer(dir.path());
    Registry reader(dir.path());
    writer.setDword(HKCU, "K", "before", 1);
    EXPECT_EQ(reader.queryDword(HKCU, "K", "before"), 1u);
    {
        Registry::Batch batch(writer, HKCU);
        for (int i = 0; i < 300; ++i) writer.setDword(HKCU, "K", "v" + std::to_string(i), std::uint32_t(i));
        EXPECT_EQ(writer.queryDword(HKCU, "K", "v299"), 299u);  // the writer sees its own changes
        EXPECT_FALSE(Registry(dir.path()).queryDword(HKCU, "K", "v0"));  // nothing saved yet
    }
    EXPECT_EQ(reader.queryDword(HKCU, "K", "v299"), 299u);
    EXPECT_EQ(reader.queryDword(HKCU, "K", "before"), 1u);
}

TEST(RegistryTest, AFailedSaveReportsFailureAndKeepsTheOldFile) {
    TemporaryFolder dir;
    Registry reg(dir.path());
    reg.setDword(HKCU, "K", "kept", 1);
    // A folder where the temporary file must go makes the save fail, even for root.
    const auto blocker = dir / ("HKEY_CURRENT_USER.reg.tmp." + std::to_string(::getpid()));
    std::filesystem::create_directory(blocker);
    EXPECT_FALSE(reg.setDword(HKCU, "K", "lost", 2));
    EXPECT_FALSE(reg.queryDword(HKCU, "K", "lost"));
    std::filesystem::remove(blocker);
    EXPECT_EQ(Registry(dir.path()).queryDword(HKCU, "K", "kept"), 1u);
}

TEST(RegistryTest, KeyNamesWithALineBreakAreRefusedAndTheHiveStaysReadable) {
    TemporaryFolder dir;
    {
        Registry reg(dir.path());
        ASSERT_TRUE(reg.setDword(HKCU, kKey, "s_flag", 1));
        EXPECT_FALSE(reg.createKey(HKCU, "Software\\Two\nLines"));
        EXPECT_FALSE(reg.setDword(HKCU, "Software\\Carriage\rReturn", "x", 1));
        EXPECT_FALSE(reg.setString(HKCU, "New\nKey\\Below", "", "text"));
        EXPECT_FALSE(reg.keyExists(HKCU, "Software\\Two\nLines"));
        // Value names and values may hold line breaks: they are escaped.
        EXPECT_TRUE(reg.setString(HKCU, kKey, "two\nlines", "a\r\nb"));
    }
    Registry reopened(dir.path());
    EXPECT_EQ(reopened.queryDword(HKCU, kKey, "s_flag"), 1u);
    EXPECT_EQ(reopened.queryString(HKCU, kKey, "two\nlines"), "a\r\nb");
    EXPECT_FALSE(std::filesystem::exists(dir / "HKEY_CURRENT_USER.reg.bad"));
}

TEST(RegistryTest, AHiveTooDeepOrTooLargeIsUnreadableAndMovedAside) {
    auto nested = [](std::size_t depth, std::string_view name) {
        std::string line = "[HKEY_CURRENT_USER";
        for (std::size_t i = 0; i < depth; ++i) line += "\\" + std::string(name);
        return line + "]\n";
    };
    // The deepest key allowed parses and is written back as it came.
    const std::string deepest = "REGEDIT4\n\n" + nested(kMaxKeyDepth, "k");
    const auto parsed = RegistryHive::parse(deepest, "HKEY_CURRENT_USER");
    ASSERT_TRUE(parsed);
    EXPECT_NE(parsed->serialize().find(nested(kMaxKeyDepth, "k")), std::string::npos);
    std::string error;
    EXPECT_FALSE(RegistryHive::parse("REGEDIT4\n\n" + nested(kMaxKeyDepth + 1, "k"), "HKEY_CURRENT_USER", &error));
    EXPECT_NE(error.find("deeper"), std::string::npos) << error;
    EXPECT_FALSE(RegistryHive(std::string("HKEY_CURRENT_USER")).createKey(nested(kMaxKeyDepth + 1, "k")));

    // A few deep key lines whose written form (every key on the way with its full name) would be
    // hundreds of megabytes.
    std::string wide = "REGEDIT4\n\n";
    for (char top = 'a'; top < 'e'; ++top)
        wide += "[HKEY_CURRENT_USER\\" + std::string(1, top) + nested(kMaxKeyDepth - 1, std::string(40, 'n')).substr(18);
    EXPECT_LT(wide.size(), 200'000u);
    EXPECT_FALSE(RegistryHive::parse(wide, "HKEY_CURRENT_USER", &error));
    EXPECT_NE(error.find("written larger"), std::string::npos) << error;
    EXPECT_FALSE(RegistryHive::parse("REGEDIT4\n\n" + std::string(kMaxHiveBytes, ';'), "HKEY_CURRENT_USER"));

    // One key nested 100,000 deep (200 KB): the registry moves it aside and starts afresh.
    TemporaryFolder dir;
    const std::string hostile = "REGEDIT4\n\n" + nested(100'000, "a");
    test::writeFile(dir / "HKEY_CURRENT_USER.reg", hostile);
    Registry reg(dir.path());
    EXPECT_TRUE(reg.setDword(HKCU, kKey, "s_flag", 1));
    EXPECT_EQ(test::readFile(dir / "HKEY_CURRENT_USER.reg.bad"), hostile);
    EXPECT_EQ(Registry(dir.path()).queryDword(HKCU, kKey, "s_flag"), 1u);
}

}  // namespace
}  // namespace kelto::platform
