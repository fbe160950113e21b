#pragma once
// The bytes of one window message between processes, and their checked decoding.
//
// Request: a fixed 56-byte little-endian header, then the copy-data block (if any).
//   magic "KTVW" | version u16 | kind u16 | message u32 | pad u32 | target window u64 | wParam u64 |
//   lParam i64 | copy-data tag u64 (dwData) | data length u32 | pad u32
// (for the copy-data message wParam is the sending window). The reply to a sent message is one i64 result.
// A request whose header is wrong, whose kind is unknown, or whose data length is over the limit
// or differs from what arrived is refused.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelto::platform {

enum class WireKind : std::uint16_t { Post = 1, Send = 2 };

constexpr std::size_t kWireHeaderSize = 56;
constexpr std::uint32_t kMaxCopyDataBytes = 1u << 20;

struct WireMessage {
    WireKind kind = WireKind::Post;
    std::uint32_t message = 0;
    std::uint64_t target = 0;
    std::uint64_t wParam = 0;
    std::int64_t lParam = 0;
    std::uint64_t copyDataTag = 0;
    std::string data;  // the copy-data block; only for WM_COPYDATA
};

std::string encodeWireMessage(const WireMessage& message);
// Decodes a complete request; nullopt (with the reason) when anything is off.
std::optional<WireMessage> decodeWireMessage(std::string_view bytes, std::string* reason = nullptr);
// The data length a header announces, or nullopt when the header is not valid.
std::optional<std::uint32_t> wireDataLength(std::string_view header);

}  // namespace kelto::platform
