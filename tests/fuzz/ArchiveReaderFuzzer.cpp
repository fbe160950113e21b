// The archive reader under "reserve.rsd" and the reservation request: reads never pass the end,
// a failed read makes every later one fail, 16-bit text comes out as valid UTF-8, and every
// string read writes back to bytes that read as the same string.
#include "FuzzSupport.h"

#include "reservations/ArchiveReader.h"
#include "reservations/ArchiveWriter.h"

using namespace kelto;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the reads (two bits each, repeated); the rest is the archive.
    const std::uint8_t plan = data[0];
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    ArchiveReader in(bytes);
    for (int step = 0; step < 64 && in.ok(); ++step) {
        const std::size_t before = in.offset();
        bool ok = false;
        switch ((plan >> (2 * (step % 4))) & 3) {
        case 0: {
            std::uint8_t v = 0;
            ok = in.readU8(v);
            if (ok) FUZZ_CHECK(v == static_cast<std::uint8_t>(bytes[before]));
            break;
        }
        case 1: {
            std::uint16_t v = 0;
            ok = in.readU16(v);
            break;
        }
        case 2: {
            std::uint32_t v = 0;
            ok = in.readU32(v);
            break;
        }
        default: {
            std::string text;
            ok = in.readString(text);
            if (!ok) break;
            const bool wide = bytes.substr(before, 3) == std::string_view("\xFF\xFE\xFF", 3);
            if (wide) FUZZ_CHECK(fuzz::isValidUtf8(text));
            else FUZZ_CHECK(bytes.substr(before).find(text) != std::string_view::npos);
            ArchiveWriter out;
            out.writeString(text);
            ArchiveReader back(out.bytes());
            std::string again;
            FUZZ_CHECK(back.readString(again));
            FUZZ_CHECK(again == text);
            FUZZ_CHECK(back.remaining() == 0);
            if (!wide && in.offset() - before == out.bytes().size())
                FUZZ_CHECK(bytes.substr(before, out.bytes().size()) == out.bytes());
            break;
        }
        }
        FUZZ_CHECK(in.offset() <= bytes.size());
        FUZZ_CHECK(in.remaining() == bytes.size() - in.offset());
        FUZZ_CHECK(ok == in.ok());
        if (ok) FUZZ_CHECK(in.offset() > before);
        else FUZZ_CHECK(!in.error().empty());
    }
    if (!in.ok()) {
        // Once failed, always failed, and nothing more is consumed.
        const std::size_t at = in.offset();
        std::uint32_t v = 0;
        std::string text;
        FUZZ_CHECK(!in.readU32(v) && !in.readString(text) && in.offset() == at);
    }
    return 0;
}
