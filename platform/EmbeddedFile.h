#pragma once
// A data file built into the program (see cmake/KeltoEmbed.cmake).
#include <cstddef>
#include <string_view>

namespace kelto {

struct EmbeddedFile {
    const char* name;
    const unsigned char* data;
    std::size_t size;

    std::string_view text() const { return {reinterpret_cast<const char*>(data), size}; }
};

}  // namespace kelto
