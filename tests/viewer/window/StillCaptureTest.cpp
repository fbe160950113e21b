// Still pictures from the viewer: the name reserved for one capture alone, so captures at the
// same moment never write over each other.
#include "viewer/window/StillFileReservation.h"

#include "capture/NextCaptureFileName.h"
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

namespace kelto::viewer {
namespace {

// Two captures that both ask for the next name before either has written gets the same name
// from the numbering alone; the reservation hands out two.
TEST(StillFileReservationTest, TwoCapturesAtOnceGetTwoFiles) {
    test::TemporaryFolder folder;
    const std::string f = folder.path().string();
    EXPECT_EQ(capture::NextCaptureFileName(f, "Kelto", capture::StillFileType::Bmp),
              capture::NextCaptureFileName(f, "Kelto", capture::StillFileType::Bmp));
    const auto first = reserveStillFile(f, "Kelto", capture::StillFileType::Bmp);
    const auto second = reserveStillFile(f, "Kelto", capture::StillFileType::Bmp);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_TRUE(std::filesystem::exists(*first));
    EXPECT_TRUE(std::filesystem::exists(*second));
}

TEST(StillFileReservationTest, ConcurrentCapturesNeverShareAName) {
    test::TemporaryFolder folder;
    const std::string f = folder.path().string();
    std::vector<std::string> a, b;
    auto run = [&](std::vector<std::string>& out) {
        for (int i = 0; i < 40; ++i)
            if (auto path = reserveStillFile(f, "Kelto", capture::StillFileType::Jpg)) out.push_back(*path);
    };
    std::thread worker(run, std::ref(a));
    run(b);
    worker.join();
    std::set<std::string> all(a.begin(), a.end());
    all.insert(b.begin(), b.end());
    EXPECT_EQ(a.size() + b.size(), 80u);
    EXPECT_EQ(all.size(), 80u);
}

TEST(StillFileReservationTest, AFolderThatRefusesFilesGivesNothing) {
    EXPECT_FALSE(reserveStillFile("/nonexistent/kelto/folder", "Kelto", capture::StillFileType::Bmp));
}

}  // namespace
}  // namespace kelto::viewer
