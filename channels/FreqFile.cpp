#include "channels/FreqFile.h"

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"
#include "platform/Text.h"
#include "platform/Trace.h"

#include <fstream>

namespace kelto {

namespace {

// Reads the little-endian 32-bit values of a file in order.
class ValueReader {
public:
    explicit ValueReader(std::string_view bytes) : bytes_(bytes) {}
    bool next(std::int32_t& value) {
        if (bytes_.size() - offset_ < 4) return false;
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(bytes_[offset_ + std::size_t(i)]);
        offset_ += 4;
        value = static_cast<std::int32_t>(v);
        return true;
    }
    bool atEnd() const { return offset_ == bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t offset_ = 0;
};

void appendValue(std::string& out, std::int32_t value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Number of frequencies a band of lowest..highest holds.
std::int64_t valueCount(std::int32_t lowest, std::int32_t highest) {
    return highest < lowest ? 0 : std::int64_t(highest) - lowest + 1;
}

FreqFileStatus decodeBand(ValueReader& reader, FrequencyTable& band) {
    std::int32_t lowest = 0, highest = 0;
    if (!reader.next(lowest) || !reader.next(highest)) return FreqFileStatus::EndsEarly;
    if (!isChannelNumber(lowest) || !isChannelNumber(highest)) return FreqFileStatus::ChannelOutOfRange;
    band.lowest = lowest;
    band.highest = highest;
    for (std::int32_t n = lowest; n <= highest; ++n)
        if (!reader.next(band.frequencyHz[std::size_t(n)])) return FreqFileStatus::EndsEarly;
    return FreqFileStatus::Loaded;
}

void encodeBand(std::string& out, std::int32_t lowest, std::int32_t highest, const std::vector<std::string>& rows) {
    appendValue(out, lowest);
    appendValue(out, highest);
    const std::int64_t count = valueCount(lowest, highest);
    for (std::int64_t i = 0; i < count; ++i)
        appendValue(out, std::size_t(i) < rows.size() ? FreqFile::rowValue(rows[std::size_t(i)]) : 0);
}

std::vector<std::string> rowsOf(const FrequencyTable& table) {
    std::vector<std::string> rows;
    // A band outside 1..256 cannot be written; its rows are not needed.
    if (!isChannelNumber(table.lowest) || !isChannelNumber(table.highest)) return rows;
    for (std::int32_t n = table.lowest; n <= table.highest; ++n)
        rows.push_back(platform::formatText("%d", table.frequencyHz[std::size_t(n)]));
    return rows;
}

}  // namespace

bool FreqFile::isUsableName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

std::filesystem::path FreqFile::pathForName(std::string_view name) {
    return platform::programFolder() / (std::string(name) + kFreqFileExtension);
}

FreqFileStatus FreqFile::decode(std::string_view bytes, FrequencyTables& tables) {
    if (bytes.size() > kMaxBytes) return FreqFileStatus::BytesLeftOver;
    FrequencyTables loaded = tables;
    ValueReader reader(bytes);
    if (const auto s = decodeBand(reader, loaded.broadcast); s != FreqFileStatus::Loaded) return s;
    if (const auto s = decodeBand(reader, loaded.cable); s != FreqFileStatus::Loaded) return s;
    if (!reader.atEnd()) return FreqFileStatus::BytesLeftOver;
    tables = loaded;
    return FreqFileStatus::Loaded;
}

FreqFileStatus FreqFile::read(const std::filesystem::path& path, FrequencyTables& tables) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return FreqFileStatus::CannotOpen;
    // One byte more than the largest valid file is enough to know that a file is too long.
    std::string bytes(kMaxBytes + 1, '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    if (in.bad()) return FreqFileStatus::CannotOpen;
    bytes.resize(std::size_t(in.gcount()));
    return decode(bytes, tables);
}

std::int32_t FreqFile::rowValue(std::string_view text) { return platform::parseProfileInt(text, 0); }

std::optional<std::string> FreqFile::encode(const TableFileContent& content) {
    for (const std::int32_t channel :
         {content.broadcastLowest, content.broadcastHighest, content.cableLowest, content.cableHighest})
        if (!isChannelNumber(channel)) return std::nullopt;
    std::string out;
    encodeBand(out, content.broadcastLowest, content.broadcastHighest, content.broadcastRows);
    encodeBand(out, content.cableLowest, content.cableHighest, content.cableRows);
    return out;
}

TableFileContent FreqFile::contentOf(const FrequencyTables& tables) {
    return {tables.broadcast.lowest, tables.broadcast.highest, rowsOf(tables.broadcast),
            tables.cable.lowest,     tables.cable.highest,     rowsOf(tables.cable)};
}

bool FreqFile::write(const std::filesystem::path& path, const TableFileContent& content) {
    const auto bytes = encode(content);
    if (!bytes) {
        platform::tracef("Table file %s not written: a channel limit lies outside 1..%d", path.string().c_str(),
                         kMaxChannel);
        return false;
    }
    return platform::writeFileAtomically(path, *bytes);
}

const char* freqFileStatusText(FreqFileStatus status) {
    switch (status) {
    case FreqFileStatus::Loaded: return "loaded";
    case FreqFileStatus::CannotOpen: return "cannot be opened";
    case FreqFileStatus::BadName: return "is not a table name";
    case FreqFileStatus::EndsEarly: return "ends early";
    case FreqFileStatus::ChannelOutOfRange: return "has channels outside 1..256";
    case FreqFileStatus::BytesLeftOver: return "has bytes left over";
    }
    return "?";
}

}  // namespace kelto
