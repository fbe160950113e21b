#include "framework/AcceleratorKeys.h"
#include "resources/AcceleratorResource.h"

#include <QKeySequence>

#include <gtest/gtest.h>

namespace kelto::framework::test {
namespace {

constexpr UiLanguage kLanguages[] = {UiLanguage::EnglishUS, UiLanguage::Japanese, UiLanguage::Korean,
                                     UiLanguage::ChineseSimplified};

TEST(AcceleratorTables, TheViewerTableExistsInEveryLanguageAndEveryKeyIsAKey) {
    const auto english = loadAccelerators(390, UiLanguage::EnglishUS);
    ASSERT_TRUE(english);
    for (UiLanguage language : kLanguages) {
        const auto table = loadAccelerators(390, language);
        ASSERT_TRUE(table);
        ASSERT_EQ(table->size(), english->size());
        // Qt reads every key; a misspelt one would silently drop its command.
        AcceleratorKeys keys(*table);
        for (const AcceleratorEntry& entry : *table) {
            const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(entry.key), QKeySequence::PortableText);
            ASSERT_EQ(sequence.count(), 1) << entry.key;
            EXPECT_EQ(keys.commandFor(sequence[0]), entry.command) << entry.key;
        }
    }
    EXPECT_FALSE(loadAccelerators(391, UiLanguage::EnglishUS));
}

TEST(AcceleratorTables, KeysMatchWithTheirExactModifiers) {
    AcceleratorKeys keys(AcceleratorTable{{"S", 32881}, {"Ctrl+S", 32901}, {"Shift+C", 32910}, {"Up", 32895}});
    EXPECT_EQ(keys.commandFor(QKeyCombination(Qt::Key_S)), 32881);
    EXPECT_EQ(keys.commandFor(QKeyCombination(Qt::ControlModifier, Qt::Key_S)), 32901);
    EXPECT_EQ(keys.commandFor(QKeyCombination(Qt::ShiftModifier, Qt::Key_C)), 32910);
    EXPECT_FALSE(keys.commandFor(QKeyCombination(Qt::Key_C)));
    EXPECT_FALSE(keys.commandFor(QKeyCombination(Qt::AltModifier, Qt::Key_S)));
    EXPECT_EQ(keys.commandFor(QKeyCombination(Qt::KeypadModifier, Qt::Key_Up)), 32895);  // the keypad's arrow too
}

TEST(AcceleratorTables, MalformedFilesAreRefusedWithTheLine) {
    std::string error;
    EXPECT_FALSE(parseAccelerators("ACCELERATORS 1\n  KEY 5 \"A\"\n", &error));
    EXPECT_EQ(error, "line 2: missing END");
    EXPECT_FALSE(parseAccelerators("ACCELERATORS 1\n  KEY x \"A\"\nEND\n", &error));
    EXPECT_EQ(error, "line 2: bad command");
    EXPECT_FALSE(parseAccelerators("KEY 5 \"A\"\n", &error));
    const auto parsed = parseAccelerators("# c\nACCELERATORS 7\n KEY 5 \"Ctrl+A\"\nEND\n");
    ASSERT_TRUE(parsed);
    ASSERT_EQ(parsed->size(), 1u);
    EXPECT_EQ((*parsed)[0].first, 7);
    EXPECT_EQ((*parsed)[0].second[0].key, "Ctrl+A");
    EXPECT_EQ((*parsed)[0].second[0].command, 5);
}

}  // namespace
}  // namespace kelto::framework::test
