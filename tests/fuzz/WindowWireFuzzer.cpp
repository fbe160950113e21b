// The bytes of a window message from another process: an accepted request is exactly what the
// encoder writes for the decoded message (apart from the padding), and the header's announced
// length agrees with the decoder.
#include "FuzzSupport.h"

#include "platform/WindowMessageIds.h"
#include "platform/WindowWire.h"

using namespace kelto::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto announced = wireDataLength(bytes);
    if (announced) FUZZ_CHECK(*announced <= kMaxCopyDataBytes);
    std::string reason;
    const auto message = decodeWireMessage(bytes, &reason);
    if (!message) {
        FUZZ_CHECK(!reason.empty());
        return 0;
    }
    FUZZ_CHECK(announced && *announced == message->data.size());
    FUZZ_CHECK(message->kind == WireKind::Post || message->kind == WireKind::Send);
    FUZZ_CHECK(message->data.empty() || message->message == WM_COPYDATA);
    std::string canonical(bytes);
    for (std::size_t pad : {12, 13, 14, 15, 52, 53, 54, 55}) canonical[pad] = 0;
    const std::string written = encodeWireMessage(*message);
    FUZZ_CHECK(written == canonical);
    return 0;
}
