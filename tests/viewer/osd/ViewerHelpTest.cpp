#include "viewer/osd/ViewerHelp.h"

#include "framework/ShellServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kelto::viewer::test {
namespace {

class ViewerHelpTest : public ::testing::Test {
protected:
    ViewerHelpTest() {
        framework::setDocumentOpener([this](const std::string& document) {
            opened.push_back(document);
            return answer;
        });
    }
    ~ViewerHelpTest() override { framework::setDocumentOpener(nullptr); }

    std::vector<std::string> opened;
    bool answer = true;
};

TEST_F(ViewerHelpTest, HelpOpensTheShippedHelpPagesWithTheDesktopsViewer) {
    EXPECT_TRUE(openViewerHelp());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_TRUE(opened[0].ends_with("/data/help/index.html")) << opened[0];
    EXPECT_TRUE(std::filesystem::exists(opened[0])) << opened[0];
}

TEST_F(ViewerHelpTest, TheHomePageOpensItsAddressAndAFailedOpenerIsReported) {
    EXPECT_TRUE(openHomePage());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], kHomePageAddress);
    EXPECT_TRUE(std::string(kHomePageAddress).starts_with("https://"));

    answer = false;
    EXPECT_FALSE(openHomePage());
    EXPECT_FALSE(openViewerHelp());
}

}  // namespace
}  // namespace kelto::viewer::test
