#pragma once
// Still pictures as files: a device-independent bitmap ("BM" file header, 40-byte info header,
// rows bottom to top padded to 4 bytes, 24 or 32 bits as the driver delivered them) or a JPEG
// (baseline, 4:2:0, encoded with FFmpeg's JPEG encoder).
#include "drivers/CaptureDriver.h"

#include <filesystem>
#include <span>
#include <string>

namespace kelto::capture {

// The bytes of a bitmap file for a driver picture (rows top to bottom); empty when the pixels
// are fewer than the format needs.
std::string makeDibFile(const drivers::FrameFormat& format, std::span<const std::uint8_t> pixels);
// The bytes of a JPEG file for a driver picture; empty on failure.
std::string makeJpegFile(const drivers::FrameFormat& format, std::span<const std::uint8_t> pixels);

// True when the name ends in ".jpg" or ".jpeg" (any case): such a file gets JPEG content.
bool namesJpegFile(const std::filesystem::path& path);

// Writes the picture to the path (replacing a file of that name whole): JPEG for a JPEG name,
// a bitmap otherwise. False (nothing changed on disk) on failure.
bool saveStillImage(const std::filesystem::path& path, const drivers::FrameFormat& format,
                    std::span<const std::uint8_t> pixels);

}  // namespace kelto::capture
