#include "platform/WindowWire.h"

#include "platform/WindowMessageIds.h"

#include <cstring>

namespace kelto::platform {

namespace {

constexpr char kMagic[4] = {'K', 'T', 'V', 'W'};
constexpr std::uint16_t kVersion = 1;

template <typename T>
void put(std::string& out, T value) {
    for (std::size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<char>((std::uint64_t(value) >> (8 * i)) & 0xFF));
}

template <typename T>
T get(std::string_view in, std::size_t offset) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) v |= std::uint64_t(static_cast<unsigned char>(in[offset + i])) << (8 * i);
    return static_cast<T>(v);
}

void setReason(std::string* reason, const char* text) {
    if (reason) *reason = text;
}

}  // namespace

std::string encodeWireMessage(const WireMessage& m) {
    std::string out(kMagic, 4);
    put<std::uint16_t>(out, kVersion);
    put<std::uint16_t>(out, static_cast<std::uint16_t>(m.kind));
    put<std::uint32_t>(out, m.message);
    put<std::uint32_t>(out, 0);  // padding keeps the 64-bit fields aligned
    put<std::uint64_t>(out, m.target);
    put<std::uint64_t>(out, m.wParam);
    put<std::int64_t>(out, m.lParam);
    put<std::uint64_t>(out, m.copyDataTag);
    put<std::uint32_t>(out, static_cast<std::uint32_t>(m.data.size()));
    put<std::uint32_t>(out, 0);
    out += m.data;
    return out;
}

std::optional<std::uint32_t> wireDataLength(std::string_view header) {
    if (header.size() < kWireHeaderSize) return std::nullopt;
    if (std::memcmp(header.data(), kMagic, 4) != 0 || get<std::uint16_t>(header, 4) != kVersion) return std::nullopt;
    const std::uint32_t length = get<std::uint32_t>(header, 48);
    if (length > kMaxCopyDataBytes) return std::nullopt;
    return length;
}

std::optional<WireMessage> decodeWireMessage(std::string_view bytes, std::string* reason) {
    const auto length = wireDataLength(bytes);
    if (!length) {
        setReason(reason, "bad header");
        return std::nullopt;
    }
    if (bytes.size() != kWireHeaderSize + *length) {
        setReason(reason, "data length does not match the header");
        return std::nullopt;
    }
    WireMessage m;
    const auto kind = get<std::uint16_t>(bytes, 6);
    if (kind != std::uint16_t(WireKind::Post) && kind != std::uint16_t(WireKind::Send)) {
        setReason(reason, "unknown kind");
        return std::nullopt;
    }
    m.kind = static_cast<WireKind>(kind);
    m.message = get<std::uint32_t>(bytes, 8);
    m.target = get<std::uint64_t>(bytes, 16);
    m.wParam = get<std::uint64_t>(bytes, 24);
    m.lParam = get<std::int64_t>(bytes, 32);
    m.copyDataTag = get<std::uint64_t>(bytes, 40);
    m.data.assign(bytes.substr(kWireHeaderSize));
    if (!m.data.empty() && m.message != WM_COPYDATA) {
        setReason(reason, "data on a message that carries none");
        return std::nullopt;
    }
    return m;
}

}  // namespace kelto::platform
