#include "platform/WindowWire.h"

#include "platform/WindowMessageIds.h"

#include <gtest/gtest.h>

namespace kelto::platform {
namespace {

TEST(WindowWireTest, ARequestSurvivesEncodingAndEveryCutIsRefused) {
    WireMessage m{WireKind::Send, WM_COPYDATA, 0x0000123400000002ull, 77, -5, 0x1234, std::string("a\0b", 3)};
    const std::string bytes = encodeWireMessage(m);
    ASSERT_EQ(bytes.size(), kWireHeaderSize + 3);
    const auto back = decodeWireMessage(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->kind, WireKind::Send);
    EXPECT_EQ(back->target, m.target);
    EXPECT_EQ(back->wParam, 77u);
    EXPECT_EQ(back->lParam, -5);
    EXPECT_EQ(back->copyDataTag, 0x1234u);
    EXPECT_EQ(back->data, m.data);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) EXPECT_FALSE(decodeWireMessage(bytes.substr(0, cut))) << cut;
    EXPECT_FALSE(decodeWireMessage(bytes + "x"));
}

TEST(WindowWireTest, RefusesUnknownKindsAndDataOnPlainMessages) {
    WireMessage plain{WireKind::Post, 0x46D, 1, 0, 0, 0, "x"};
    std::string reason;
    EXPECT_FALSE(decodeWireMessage(encodeWireMessage(plain), &reason));
    EXPECT_EQ(reason, "data on a message that carries none");
    plain.data.clear();
    std::string bytes = encodeWireMessage(plain);
    bytes[6] = 9;
    EXPECT_FALSE(decodeWireMessage(bytes, &reason));
    EXPECT_EQ(reason, "unknown kind");
}

}  // namespace
}  // namespace kelto::platform
