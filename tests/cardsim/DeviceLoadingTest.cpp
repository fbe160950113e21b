// A program that does not link the card library reaches the card's devices by name alone: the
// device layer loads the library that provides them on the first open.
#include "platform/DeviceIo.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace kelto::platform {
namespace {

TEST(DeviceLoadingTest, FirstOpenOfACardDeviceLoadsTheCardLibrary) {
    EXPECT_EQ(::dlopen("libkelto_cardsim.so", RTLD_NOW | RTLD_NOLOAD), nullptr);
    DeviceHandle device = openDevice("\\\\.\\BT848");
    ASSERT_NE(device, nullptr);
    void* block = nullptr;
    std::size_t returned = 0;
    EXPECT_TRUE(deviceIoControl(device, 2, nullptr, 0, &block, sizeof block, returned));
    EXPECT_EQ(returned, sizeof block);
    EXPECT_NE(block, nullptr);
    EXPECT_TRUE(closeDevice(device));
    EXPECT_FALSE(closeDevice(nullptr));
    std::size_t none = 7;
    EXPECT_FALSE(deviceIoControl(nullptr, 2, nullptr, 0, &block, sizeof block, none));
    EXPECT_EQ(none, 0u);
    EXPECT_EQ(openDevice("\\\\.\\UNKNOWN"), nullptr);
}

}  // namespace
}  // namespace kelto::platform
