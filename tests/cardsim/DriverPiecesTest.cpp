// The driver pieces as their users reach them: every export by name, GPIO and the register word
// at 0x10C, the two devices and their control codes, the audio command library, and each way a
// piece can be missing or failing.
#include "tests/cardsim/CardFixture.h"

#include "cardsim/CardDevices.h"
#include "platform/DeviceIo.h"

#include <cstring>

namespace kelto::cardsim::test {
namespace {

class DriverPiecesTest : public CardFixture {
protected:
    // Opens a device, asks for the register block as the hardware-control library does, closes it.
    void* registerBlockFrom(const char* device, std::uint32_t code, std::size_t outputSize = sizeof(void*)) {
        platform::DeviceHandle handle = platform::openDevice(device);
        if (!handle) return nullptr;
        unsigned char output[16] = {};
        std::size_t returned = 0;
        const bool ok = platform::deviceIoControl(handle, code, nullptr, 0, output, outputSize, returned);
        platform::closeDevice(handle);
        void* address = nullptr;
        if (ok && returned == sizeof address) std::memcpy(&address, output, sizeof address);
        return address;
    }
};

TEST_F(DriverPiecesTest, VideoDriverLibraryExportsEveryNameItsUsersBind) {
    buildCard({});
    platform::ModuleHandle module = platform::loadLibrary("BtVid_32.dll");
    ASSERT_NE(module, nullptr) << platform::lastLoadError();
    const char* names[] = {
        // The hardware-control library's table.
        "Bt848SetVideoSource", "Bt848GetVideoSource", "Bt848SetBrightness", "Bt848GetBrightness", "Bt848SetContrast",
        "Bt848GetContrast", "Bt848SetHue", "Bt848GetHue", "Bt848SetSaturation", "Bt848GetSaturation",
        "Bt848PreChannelChange", "Bt848ChannelChanged", "SetGPOEBit", "SetGPOE", "SetGPDATABits", "SetGPIE",
        "GetGPDATABits", "GPIOIsInitOK", "SetGPIOMODE", "I2CIsInitOK", "I2CInitHWMode", "I2CHWRead", "I2CHWWrite2",
        "I2CHWWrite3", "I2CHWMultiWrite", "I2CHWMultiRead", "IsBt878Family", "I2CInitSWMode", "I2CSWStart",
        "I2CSWStop", "I2CSWRead", "I2CSWWrite", "I2CSWSendACK", "I2CSWSendNACK", "I2CSWSetSCL", "I2CSWReadSCL",
        "I2CSWSetSDA", "I2CSWReadSDA",
        // The viewer's table, beyond the names above.
        "I2CSetFreq", "I2CReadDiv", "I2CSetSync", "I2CReadSync", "I2CGetLastError", "ReadDecoder", "WriteDecoder",
        "SetGPCLKMODE", "GetGPCLKMODE", "GetGPIOMODE", "SetGPWEC", "GetGPWEC", "SetGPINTI", "GetGPINTI", "SetGPINTC",
        "GetGPINTC", "GetGPOEBit", "GetGPOE", "SetGPIEBit", "GetGPIEBit", "GetGPIE", "SetGPDATA", "GetGPDATA",
        "IsBt848Family", "IsBt878", "Bt848SetCCStatus", "Bt848SetCCFileName", "Bt848SetCCAlert",
        "Bt848GetCCFileName", "Bt848GetCCAlert", "Bt848GetCCStatus", "Bt848Pause", "Bt848Continue"};
    for (const char* name : names) EXPECT_NE(platform::getProcAddress(module, name), nullptr) << name;

    hideExport("BtVid_32.dll", "I2CHWRead");
    EXPECT_EQ(platform::getProcAddress(module, "I2CHWRead"), nullptr);
    EXPECT_NE(platform::getProcAddress(module, "I2CHWWrite3"), nullptr);
    platform::freeLibrary(module);
}

TEST_F(DriverPiecesTest, GpioAudioBitsAndTheRegisterWordDecideWhatIsHeard) {
    buildCard({.chip = ChipKind::Bt848});
    loadBtVid();
    EXPECT_EQ(lockCard()->audioSource(), AudioSource::Silent);  // power-up: outputs released
    for (int bit = 0; bit < 4; ++bit) ASSERT_EQ(btvid.SetGPOEBit(bit, 1), 0);
    EXPECT_EQ(btvid.SetGPOEBit(24, 1), 1);

    const struct {
        std::uint32_t value;
        AudioSource heard;
    } routes[] = {{0, AudioSource::ExternalInput}, {1, AudioSource::Tuner}, {2, AudioSource::SecondInput}, {3, AudioSource::Silent}};
    for (const auto& r : routes) {
        ASSERT_EQ(btvid.SetGPDATABits(0, 3, r.value, 0), 0);
        std::uint32_t read = 99;
        btvid.SetGPIE(0);
        ASSERT_EQ(btvid.GetGPDATABits(0, 1, &read, 0), 0);
        EXPECT_EQ(read, r.value);
        EXPECT_EQ(lockCard()->audioSource(), r.heard);
    }
    // The mute write touches bits 0 and 1 only.
    ASSERT_EQ(btvid.SetGPDATABits(0, 3, 0xE, 0), 0);
    ASSERT_EQ(btvid.SetGPDATABits(0, 1, 3, 0), 0);
    EXPECT_EQ(gpio().data & 0xF, 0xFu);
    EXPECT_EQ(btvid.SetGPDATABits(3, 1, 0, 0), 1);
    EXPECT_EQ(btvid.SetGPDATABits(0, 24, 0, 0), 1);

    // With the outputs released the multiplexer is silent whatever the register word's bits 24
    // and 25 say (they choose the digital path's source only).
    ASSERT_EQ(btvid.SetGPDATABits(0, 3, 1, 0), 0);
    for (int bit = 0; bit < 4; ++bit) ASSERT_EQ(btvid.SetGPOEBit(bit, 0), 0);
    auto* word = reinterpret_cast<std::uint32_t*>(static_cast<char*>(registerBlockFrom(kVideoDeviceName, 2)) + 0x10C);
    EXPECT_EQ(*word, RegisterBlock::kAudioControlPowerUp);
    EXPECT_EQ(lockCard()->audioSource(), AudioSource::Silent);
    *word |= 1u << 25;
    EXPECT_EQ(lockCard()->audioSource(), AudioSource::Silent);
    std::uint32_t viaDriver = 0;
    ASSERT_EQ(btvid.ReadDecoder(0x10C, &viaDriver), 0);
    EXPECT_EQ(viaDriver, *word);
    EXPECT_EQ(btvid.ReadDecoder(0x10D, &viaDriver), 1);
}

TEST_F(DriverPiecesTest, DevicesAnswerTheirControlCodesWithTheRegisterBlock) {
    buildCard({.chip = ChipKind::Bt878});
    void* block = lockCard()->registers().base();
    EXPECT_EQ(registerBlockFrom(kVideoDeviceName, 2), block);
    EXPECT_EQ(registerBlockFrom(kAudioDeviceName, 11), block);
    EXPECT_EQ(registerBlockFrom("\\\\.\\bt848", 2), block);  // names compare without case
    EXPECT_EQ(registerBlockFrom(kVideoDeviceName, 11), nullptr);
    EXPECT_EQ(registerBlockFrom(kAudioDeviceName, 2), nullptr);
    EXPECT_EQ(registerBlockFrom(kVideoDeviceName, 2, 4), nullptr);  // too small for an address
    EXPECT_EQ(platform::openDevice("\\\\.\\NOSUCH"), nullptr);

    // Opened without sharing.
    platform::DeviceHandle first = platform::openDevice(kVideoDeviceName);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platform::openDevice(kVideoDeviceName), nullptr);
    platform::closeDevice(first);

    // A Bt848 has no audio device.
    buildCard({.chip = ChipKind::Bt848});
    EXPECT_EQ(registerBlockFrom(kAudioDeviceName, 11), nullptr);
    EXPECT_EQ(registerBlockFrom(kVideoDeviceName, 2), block);

    setDeviceUnopenable(kVideoDeviceName);
    EXPECT_EQ(platform::openDevice(kVideoDeviceName), nullptr);
    setDeviceUnopenable(kVideoDeviceName, false);
    setDeviceSilent(kVideoDeviceName);
    EXPECT_EQ(registerBlockFrom(kVideoDeviceName, 2), nullptr);
}

TEST_F(DriverPiecesTest, AudioCommandLibraryDrivesTheDigitalPath) {
    buildCard({.chip = ChipKind::Bt878, .riscAudio = true});
    platform::ModuleHandle module = platform::loadLibrary("BtAud.dll");
    ASSERT_NE(module, nullptr) << platform::lastLoadError();
    auto processCommand = platform::getProc<decltype(&ProcessCommand)>(module, "ProcessCommand");
    ASSERT_NE(processCommand, nullptr);

    EXPECT_EQ(processCommand(66, 0), 1);  // not running yet
    EXPECT_EQ(processCommand(112, 0), 0);
    EXPECT_EQ(processCommand(66, 0), 0);
    EXPECT_EQ(lockCard()->audioSource(), AudioSource::Tuner);
    EXPECT_EQ(processCommand(68, 0), 0);
    EXPECT_EQ(lockCard()->audioSource(), AudioSource::Silent);
    EXPECT_EQ(processCommand(69, 0), 0);
    setRegisterWord(0x10C, registerWord(0x10C) | (1u << 25));
    EXPECT_EQ(lockCard()->audioSource(), AudioSource::ExternalInput);
    EXPECT_EQ(processCommand(32, 2), 0);
    EXPECT_EQ(processCommand(32, 7), 1);
    for (std::uint32_t setting : {33u, 80u, 81u}) EXPECT_EQ(processCommand(setting, 5), 0);
    EXPECT_EQ(processCommand(99, 0), 1);
    setAudioCommandFails(69);
    EXPECT_EQ(processCommand(69, 0), 1);
    EXPECT_EQ(processCommand(113, 0), 0);
    EXPECT_EQ(processCommand(66, 0), 1);

    // Without the digital path every command fails.
    buildCard({.chip = ChipKind::Bt848});
    EXPECT_EQ(processCommand(112, 0), 1);
    platform::freeLibrary(module);
}

TEST_F(DriverPiecesTest, MissingOrFailingPiecesFailTheWayTheirUsersExpect) {
    buildCard({});
    setLibraryLoadFails("BtVid_32.dll");
    EXPECT_EQ(platform::loadLibrary("BtVid_32.dll"), nullptr);
    setLibraryLoadFails("BtAud.dll");
    EXPECT_EQ(platform::loadLibrary("BtAud.dll"), nullptr);
    clearFaults();

    loadBtVid();
    EXPECT_EQ(btvid.I2CIsInitOK(), 1);
    EXPECT_EQ(btvid.GPIOIsInitOK(), 1);
    lockCard()->faults.i2cNotReady = true;
    lockCard()->faults.gpioNotReady = true;
    EXPECT_EQ(btvid.I2CIsInitOK(), 0);
    EXPECT_EQ(btvid.GPIOIsInitOK(), 0);

    setFunctionFails("Bt848SetVideoSource");
    EXPECT_EQ(btvid.Bt848SetVideoSource(2), 1);
    setFunctionFails("Bt848SetVideoSource", false);
    EXPECT_EQ(btvid.Bt848SetVideoSource(2), 0);
    EXPECT_EQ(btvid.Bt848SetVideoSource(4), 1);
    EXPECT_EQ(btvid.Bt848SetBrightness(256), 1);
    EXPECT_EQ(btvid.Bt848SetBrightness(-1), 1);
    EXPECT_EQ(btvid.Bt848SetBrightness(255), 0);
    std::int32_t value = 0;
    EXPECT_EQ(btvid.Bt848GetBrightness(&value), 0);
    EXPECT_EQ(value, 255);
    EXPECT_EQ(btvid.Bt848GetBrightness(nullptr), 1);

    // The caption file name is cut to the buffer it is read into.
    ASSERT_EQ(btvid.Bt848SetCCFileName("captions.txt"), 0);
    char shortBuffer[5];
    ASSERT_EQ(btvid.Bt848GetCCFileName(shortBuffer, sizeof shortBuffer), 0);
    EXPECT_STREQ(shortBuffer, "capt");
    EXPECT_EQ(btvid.Bt848GetCCFileName(shortBuffer, 0), 1);
}

}  // namespace
}  // namespace kelto::cardsim::test
