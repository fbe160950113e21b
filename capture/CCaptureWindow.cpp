#include "capture/CCaptureWindow.h"

#include "settings/ViewerSettings.h"
#include "capture/CaptureWindowWidget.h"
#include "platform/Trace.h"

#include <QCoreApplication>
#include <QThread>

#include <cstring>
#include <mutex>
#include <vector>

namespace kelto::capture {

namespace {

// The records every user of the driver shares; written on the capture window's thread.
std::mutex sharedRecordsMutex;
CaptureDriverCaps sharedCaps;
CaptureStatus sharedStatus;

void refreshStatus(CaptureService& service) {
    CaptureStatus status;
    service.getStatus(status);
    std::lock_guard lock(sharedRecordsMutex);
    sharedStatus = status;
}

// SetFrameSize's steps: learn the format size, read the format, change width and height, write it.
int setFrameSizeOn(CaptureService& service, int width, int height) {
    const int size = service.getVideoFormat({});
    if (size < int(sizeof(BitmapInfoHeader))) return 0;
    std::vector<std::byte> buffer(std::size_t(size), std::byte{0});
    service.getVideoFormat(buffer);
    BitmapInfoHeader header;
    std::memcpy(&header, buffer.data(), sizeof header);
    header.width = width;
    header.height = height;
    std::memcpy(buffer.data(), &header, sizeof header);
    return service.setVideoFormat(buffer);
}

}  // namespace

CCaptureWindow::CCaptureWindow(SettingsStore& store) : m_store(store) {
    m_stillWidth = store.readInt(section::kUser, "capimagewidth", 320);
    m_stillHeight = store.readInt(section::kUser, "capimageheight", 240);
}

CCaptureWindow::~CCaptureWindow() {
    m_store.writeInt(section::kUser, "capimagewidth", m_stillWidth);
    m_store.writeInt(section::kUser, "capimageheight", m_stillHeight);
}

template <typename Result, typename Operation>
Result CCaptureWindow::send(Result dead, Operation operation) {
    QCoreApplication* application = QCoreApplication::instance();
    if (application && QThread::currentThread() != application->thread()) {
        // A worker waiting here could hold the tuner lock the user-interface thread is waiting
        // for; refuse instead of blocking (workers use Queue()).
        platform::traceLine("CCaptureWindow: an operation was called off the user-interface thread; refused (use Queue)");
        return dead;
    }
    CaptureWindowWidget* window = m_captureWindow.data();
    return window ? operation(*window) : dead;
}

bool CCaptureWindow::IsWindow() const { return !m_captureWindow.isNull(); }

CaptureWindowWidget* CCaptureWindow::GetWindow() const { return m_captureWindow.data(); }

int CCaptureWindow::Create(std::uint32_t style, int x, int y, int width, int height, QWidget* parent) {
    delete m_captureWindow.data();
    auto* window = new CaptureWindowWidget(parent);
    window->setProperty("controlId", 1);
    window->setGeometry(x, y, width, height);
    if (style & WS_VISIBLE) window->show();
    m_captureWindow = window;
    if (!IsWindow()) return 0;
    for (std::uint32_t index = 0; index <= kMaxDriverIndex; ++index) {
        const auto description = CaptureService::driverDescription(index);
        if (description && description->name == kDriverName) {
            m_driverIndex = index;
            return 1;
        }
    }
    return 0;
}

int CCaptureWindow::Connect() {
    const int result = send(0, [this](CaptureWindowWidget& window) {
        CaptureService& service = window.service();
        const int connected = service.driverConnect(m_driverIndex);
        CaptureDriverCaps caps;
        service.driverGetCaps(caps);
        {
            std::lock_guard lock(sharedRecordsMutex);
            sharedCaps = caps;
        }
        refreshStatus(service);
        m_connected = true;
        return connected;
    });
    return result;
}

int CCaptureWindow::Disconnect() {
    return send(0, [this](CaptureWindowWidget& window) {
        const int result = window.service().driverDisconnect();
        m_connected = false;
        return result;
    });
}

int CCaptureWindow::SetOverlay(bool on) {
    return send(0, [on](CaptureWindowWidget& window) { return window.service().setOverlay(on); });
}

int CCaptureWindow::SetPreview(bool on) {
    return send(0, [on](CaptureWindowWidget& window) { return window.service().setPreview(on); });
}

int CCaptureWindow::SaveFrameAsBitmapFile(const std::string& fileName) {
    return send(0, [&fileName](CaptureWindowWidget& window) {
        refreshStatus(window.service());
        return window.service().fileSaveDib(fileName);
    });
}

void CCaptureWindow::VideoFormatDialog() {
    const bool sent = send(false, [](CaptureWindowWidget& window) {
        window.service().dlgVideoFormat();
        return true;
    });
    if (sent) RefreshSize();
}

int CCaptureWindow::VideoCompressionDialog() {
    return send(0, [](CaptureWindowWidget& window) { return window.service().dlgVideoCompression(); });
}

int CCaptureWindow::VideoDisplayDialog() {
    return send(0, [](CaptureWindowWidget& window) {
        const int result = window.service().dlgVideoDisplay();
        refreshStatus(window.service());
        return result;
    });
}

void CCaptureWindow::RefreshSize() {
    const bool refreshed = send(false, [this](CaptureWindowWidget& window) {
        refreshStatus(window.service());
        const CaptureStatus status = Status();
        m_imageWidth = status.imageWidth;
        m_imageHeight = status.imageHeight;
        return true;
    });
    if (refreshed && m_sizeListener) m_sizeListener(m_imageWidth, m_imageHeight);
}

std::uint32_t CCaptureWindow::GetImageWidth() {
    return send(0u, [](CaptureWindowWidget& window) {
        refreshStatus(window.service());
        return Status().imageWidth;
    });
}

std::uint32_t CCaptureWindow::GetImageHeight() {
    return send(0u, [](CaptureWindowWidget& window) {
        refreshStatus(window.service());
        return Status().imageHeight;
    });
}

bool CCaptureWindow::HasAudioHardware() {
    return send(false, [](CaptureWindowWidget& window) {
        refreshStatus(window.service());
        return Status().audioHardware != 0;
    });
}

int CCaptureWindow::SetFrameSize(int width, int height) {
    return send(0, [width, height](CaptureWindowWidget& window) { return setFrameSizeOn(window.service(), width, height); });
}

QImage CCaptureWindow::GrabFrameImage(int width, int height) {
    return send(QImage(), [this, width, height](CaptureWindowWidget& window) {
        CaptureService& service = window.service();
        setFrameSizeOn(service, width, height);
        if (!service.grabFrame()) return QImage();
        const GrabbedFrame& frame = service.grabbedFrame();
        const QImage::Format format = frame.format.bitsPerPixel == 32 ? QImage::Format_RGB32 : QImage::Format_BGR888;
        QImage image(frame.pixels.data(), int(frame.format.width), int(frame.format.height),
                     qsizetype(frame.format.bytesPerRow()), format);
        QImage copy = image.copy();
        if (copy.isNull()) return QImage();
        m_clipboardPalette = copy.colorTable();
        return copy;
    });
}

int CCaptureWindow::CaptureVideoStream(const std::string& fileName, int recordingType) {
    return send(0, [&fileName, recordingType](CaptureWindowWidget& window) {
        CaptureService& service = window.service();
        platform::debugOutput("CaptureVideoStream:before capGetStatus\r\n");
        refreshStatus(service);
        platform::debugOutput("CaptureVideoStream:before capFileSetCaptureFile\r\n");
        service.fileSetCaptureFile(fileName);
        platform::debugOutput("CaptureVideoStream:before capCaptureSequence\r\n");
        service.setOverlay(false);
        refreshStatus(service);
        service.setPreviewRate(kPreviewRateWhileRecordingMs);
        service.setPreview(true);
        const int result = service.sequence(recordingTypeFrom(recordingType));
        refreshStatus(service);
        service.setPreview(false);
        service.setOverlay(true);
        return result;
    });
}

int CCaptureWindow::StopCaptureVideoStream() {
    return send(0, [](CaptureWindowWidget& window) { return window.service().stopSequence(); });
}

int CCaptureWindow::GetAudioFormatSize() {
    return send(0, [](CaptureWindowWidget& window) { return window.service().getAudioFormat({}); });
}

int CCaptureWindow::GetAudioFormat(std::span<std::byte> buffer) {
    if (buffer.empty()) return 0;
    return send(0, [buffer](CaptureWindowWidget& window) { return window.service().getAudioFormat(buffer); });
}

int CCaptureWindow::SetAudioFormat(std::span<const std::byte> buffer) {
    return send(0, [buffer](CaptureWindowWidget& window) { return window.service().setAudioFormat(buffer); });
}

int CCaptureWindow::GetSequenceSetup(CaptureSequenceSetup& setup) {
    return send(0, [&setup](CaptureWindowWidget& window) { return window.service().getSequenceSetup(setup); });
}

int CCaptureWindow::SetSequenceSetup(const CaptureSequenceSetup& setup) {
    return send(0, [&setup](CaptureWindowWidget& window) { return window.service().setSequenceSetup(setup); });
}

QImage CCaptureWindow::CopyBitmap(const QImage& source) { return source.isNull() ? QImage() : source.copy(); }

void CCaptureWindow::DeleteBitmap(QImage& bitmap) { bitmap = QImage(); }

CaptureDriverCaps CCaptureWindow::DriverCaps() {
    std::lock_guard lock(sharedRecordsMutex);
    return sharedCaps;
}

CaptureStatus CCaptureWindow::Status() {
    std::lock_guard lock(sharedRecordsMutex);
    return sharedStatus;
}

}  // namespace kelto::capture
