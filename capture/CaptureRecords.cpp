#include "capture/CaptureRecords.h"

namespace kelto::capture {

const char* messageName(CaptureMessage message) {
    switch (message) {
    case CaptureMessage::DriverConnect: return "WM_CAP_DRIVER_CONNECT";
    case CaptureMessage::DriverDisconnect: return "WM_CAP_DRIVER_DISCONNECT";
    case CaptureMessage::DriverGetCaps: return "WM_CAP_DRIVER_GET_CAPS";
    case CaptureMessage::FileSetCaptureFile: return "WM_CAP_FILE_SET_CAPTURE_FILE";
    case CaptureMessage::FileGetCaptureFile: return "WM_CAP_FILE_GET_CAPTURE_FILE";
    case CaptureMessage::FileSaveDib: return "WM_CAP_FILE_SAVEDIB";
    case CaptureMessage::EditCopy: return "WM_CAP_EDIT_COPY";
    case CaptureMessage::SetAudioFormat: return "WM_CAP_SET_AUDIOFORMAT";
    case CaptureMessage::GetAudioFormat: return "WM_CAP_GET_AUDIOFORMAT";
    case CaptureMessage::DlgVideoFormat: return "WM_CAP_DLG_VIDEOFORMAT";
    case CaptureMessage::DlgVideoSource: return "WM_CAP_DLG_VIDEOSOURCE";
    case CaptureMessage::DlgVideoDisplay: return "WM_CAP_DLG_VIDEODISPLAY";
    case CaptureMessage::GetVideoFormat: return "WM_CAP_GET_VIDEOFORMAT";
    case CaptureMessage::SetVideoFormat: return "WM_CAP_SET_VIDEOFORMAT";
    case CaptureMessage::DlgVideoCompression: return "WM_CAP_DLG_VIDEOCOMPRESSION";
    case CaptureMessage::SetPreview: return "WM_CAP_SET_PREVIEW";
    case CaptureMessage::SetOverlay: return "WM_CAP_SET_OVERLAY";
    case CaptureMessage::SetPreviewRate: return "WM_CAP_SET_PREVIEWRATE";
    case CaptureMessage::GetStatus: return "WM_CAP_GET_STATUS";
    case CaptureMessage::GrabFrame: return "WM_CAP_GRAB_FRAME";
    case CaptureMessage::Sequence: return "WM_CAP_SEQUENCE";
    case CaptureMessage::SetSequenceSetup: return "WM_CAP_SET_SEQUENCE_SETUP";
    case CaptureMessage::GetSequenceSetup: return "WM_CAP_GET_SEQUENCE_SETUP";
    }
    return "WM_CAP_?";
}

WaveFormat makePcmWaveFormat(std::uint16_t channels, std::uint16_t bitsPerSample, std::uint32_t samplesPerSec) {
    WaveFormat format;
    format.formatTag = kWaveFormatPcm;
    format.channels = channels;
    format.samplesPerSec = samplesPerSec;
    format.blockAlign = std::uint16_t((bitsPerSample / 8) * channels);
    format.avgBytesPerSec = format.blockAlign * samplesPerSec;
    format.bitsPerSample = bitsPerSample;
    format.extraSize = 0;
    return format;
}

bool isRecordablePcm(const WaveFormat& f) {
    return f.formatTag == kWaveFormatPcm && (f.channels == 1 || f.channels == 2) &&
           (f.bitsPerSample == 8 || f.bitsPerSample == 16) && f.samplesPerSec >= 8000 && f.samplesPerSec <= 48000 &&
           f.blockAlign == (f.bitsPerSample / 8) * f.channels && f.avgBytesPerSec == f.blockAlign * f.samplesPerSec;
}

}  // namespace kelto::capture
