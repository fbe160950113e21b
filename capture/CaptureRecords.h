#pragma once
// The records the capture window exchanges with its users, laid out byte for byte as the
// platform's 32-bit capture interface had them, and the numbers of its messages.
#include <cstdint>

namespace kelto::capture {

// Capture window messages; the numbers are the platform's (base 0x400).
enum class CaptureMessage : std::uint32_t {
    DriverConnect = 0x400 + 10,
    DriverDisconnect = 0x400 + 11,
    DriverGetCaps = 0x400 + 14,
    FileSetCaptureFile = 0x400 + 20,
    FileGetCaptureFile = 0x400 + 21,
    FileSaveDib = 0x400 + 25,
    EditCopy = 0x400 + 30,
    SetAudioFormat = 0x400 + 35,
    GetAudioFormat = 0x400 + 36,
    DlgVideoFormat = 0x400 + 41,
    DlgVideoSource = 0x400 + 42,
    DlgVideoDisplay = 0x400 + 43,
    GetVideoFormat = 0x400 + 44,
    SetVideoFormat = 0x400 + 45,
    DlgVideoCompression = 0x400 + 46,
    SetPreview = 0x400 + 50,
    SetOverlay = 0x400 + 51,
    SetPreviewRate = 0x400 + 52,
    GetStatus = 0x400 + 54,
    GrabFrame = 0x400 + 60,
    Sequence = 0x400 + 62,
    SetSequenceSetup = 0x400 + 64,
    GetSequenceSetup = 0x400 + 65,
};

// The published name of a message ("WM_CAP_GET_STATUS"), for traces and test failures.
const char* messageName(CaptureMessage message);

// The driver's capabilities (44 bytes).
struct CaptureDriverCaps {
    std::uint32_t deviceIndex = 0;
    std::int32_t hasOverlay = 0;
    std::int32_t hasDlgVideoSource = 0;
    std::int32_t hasDlgVideoFormat = 0;
    std::int32_t hasDlgVideoDisplay = 0;
    std::int32_t captureInitialized = 0;
    std::int32_t driverSuppliesPalettes = 0;
    std::uint32_t videoIn = 0;
    std::uint32_t videoOut = 0;
    std::uint32_t videoExtIn = 0;
    std::uint32_t videoExtOut = 0;
};
static_assert(sizeof(CaptureDriverCaps) == 44);

// The capture window's status (76 bytes).
struct CaptureStatus {
    std::uint32_t imageWidth = 0;
    std::uint32_t imageHeight = 0;
    std::int32_t liveWindow = 0;     // preview on
    std::int32_t overlayWindow = 0;  // overlay on
    std::int32_t scale = 0;
    std::int32_t scrollX = 0;
    std::int32_t scrollY = 0;
    std::int32_t usingDefaultPalette = 0;
    std::int32_t audioHardware = 0;
    std::int32_t capFileExists = 0;
    std::uint32_t currentVideoFrame = 0;
    std::uint32_t currentVideoFramesDropped = 0;
    std::uint32_t currentWaveSamples = 0;
    std::uint32_t currentTimeElapsedMs = 0;
    std::uint32_t currentPalette = 0;
    std::int32_t capturingNow = 0;
    std::uint32_t lastError = 0;
    std::uint32_t numVideoAllocated = 0;
    std::uint32_t numAudioAllocated = 0;
};
static_assert(sizeof(CaptureStatus) == 76);

// Stream master values of the set-up record.
constexpr std::uint32_t kStreamMasterAudio = 0;
constexpr std::uint32_t kStreamMasterNone = 1;
constexpr std::uint32_t kVirtualKeyEscape = 0x1B;

// The recording (sequence) set-up (96 bytes).
struct CaptureSequenceSetup {
    std::uint32_t requestMicroSecPerFrame = 66667;
    std::int32_t makeUserHitOkToCapture = 0;
    std::uint32_t percentDropForError = 10;
    std::int32_t yield = 0;
    std::uint32_t indexSize = 0;
    std::uint32_t chunkGranularity = 0;
    std::int32_t usingDosMemory = 0;
    std::uint32_t numVideoRequested = 0;
    std::int32_t captureAudio = 0;
    std::uint32_t numAudioRequested = 0;
    std::uint32_t keyAbort = kVirtualKeyEscape;
    std::int32_t abortLeftMouse = 1;
    std::int32_t abortRightMouse = 1;
    std::int32_t limitEnabled = 0;
    std::uint32_t timeLimitSeconds = 0;
    std::int32_t mciControl = 0;
    std::int32_t stepMciDevice = 0;
    std::uint32_t mciStartTime = 0;
    std::uint32_t mciStopTime = 0;
    std::int32_t stepCaptureAt2x = 0;
    std::uint32_t stepCaptureAverageFrames = 0;
    std::uint32_t audioBufferSize = 0;
    std::int32_t disableWriteCache = 0;
    std::uint32_t streamMaster = kStreamMasterAudio;
};
static_assert(sizeof(CaptureSequenceSetup) == 96);

constexpr std::uint16_t kWaveFormatPcm = 1;

// The PCM wave format (18 bytes as the capture window reports it; packed like the platform's).
#pragma pack(push, 2)
struct WaveFormat {
    std::uint16_t formatTag = kWaveFormatPcm;
    std::uint16_t channels = 2;
    std::uint32_t samplesPerSec = 44100;
    std::uint32_t avgBytesPerSec = 176400;
    std::uint16_t blockAlign = 4;
    std::uint16_t bitsPerSample = 16;
    std::uint16_t extraSize = 0;
};
#pragma pack(pop)
static_assert(sizeof(WaveFormat) == 18);

// A PCM wave format with block alignment and byte rate derived from the other fields.
WaveFormat makePcmWaveFormat(std::uint16_t channels, std::uint16_t bitsPerSample, std::uint32_t samplesPerSec);
// True for a PCM format the capture window can record: 1 or 2 channels, 8 or 16 bits,
// 8000..48000 samples per second, block alignment and byte rate consistent with them.
bool isRecordablePcm(const WaveFormat& format);

constexpr std::uint32_t kBiRgb = 0;

// The bitmap header that describes the video format and heads a device-independent bitmap (40 bytes).
struct BitmapInfoHeader {
    std::uint32_t size = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = kBiRgb;
    std::uint32_t sizeImage = 0;
    std::int32_t xPelsPerMeter = 0;
    std::int32_t yPelsPerMeter = 0;
    std::uint32_t clrUsed = 0;
    std::uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// The file header in front of a device-independent bitmap in a file (14 bytes).
#pragma pack(push, 2)
struct BitmapFileHeader {
    std::uint16_t type = 0x4D42;  // "BM"
    std::uint32_t size = 0;
    std::uint16_t reserved1 = 0;
    std::uint16_t reserved2 = 0;
    std::uint32_t offBits = 0;
};
#pragma pack(pop)
static_assert(sizeof(BitmapFileHeader) == 14);

}  // namespace kelto::capture
