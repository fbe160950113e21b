#pragma once
// The viewer's one gateway to the capture driver. It owns one capture window (a child of the
// viewer that shows the live picture) and wraps every operation the rest of the program needs
// from it, sending the capture window's messages in a fixed order.
//
// Every operation first checks that the capture window still exists; when it does not (never
// created, or destroyed with its parent), the operation sends nothing and answers 0 (or
// nothing). The operations run on the user-interface thread, which owns the capture window.
// Worker threads (the serial still capture, the multi-screen view) reach them only through
// Queue(): the call is queued to the user-interface thread and the worker goes on at once, with
// the answer in a future. A worker must not wait for that answer while it holds a lock the
// user-interface thread may take (the tuner lock); the synchronous operations, called from
// another thread, refuse (trace line, answer 0 or nothing) rather than block.
//
// The capabilities and status records are shared by every user of the driver; each operation
// refreshes the status just before it reads it.
#include "settings/SettingsStore.h"
#include "capture/CaptureRecords.h"
#include "capture/CaptureTypes.h"

#include "platform/qt/QueuedCall.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRgb>
#include <QList>

#include <cstdint>
#include <functional>
#include <future>
#include <memory>
#include <span>
#include <string>

class QWidget;

namespace kelto::capture {

class CaptureWindowWidget;

class CCaptureWindow {
public:
    static constexpr const char* kDriverName = "MSVIDEO: Brooktree PCI Video Capture Driver";
    static constexpr std::uint32_t kMaxDriverIndex = 9;
    static constexpr std::uint32_t WS_CHILD = 0x40000000;
    static constexpr std::uint32_t WS_VISIBLE = 0x10000000;
    static constexpr std::uint32_t kPreviewRateWhileRecordingMs = 66;

    // Reads "capimagewidth" and "capimageheight" (section "user", defaults 320 and 240).
    explicit CCaptureWindow(SettingsStore& store);
    // Writes both back.
    ~CCaptureWindow();
    CCaptureWindow(const CCaptureWindow&) = delete;
    CCaptureWindow& operator=(const CCaptureWindow&) = delete;

    // Creates the capture window (no title, child id 1, the rectangle in the parent's
    // coordinates; shown when the style has WS_VISIBLE) and finds the driver named kDriverName
    // among indexes 0..9. 1 when found, 0 when not (or when there is no window).
    int Create(std::uint32_t style, int x, int y, int width, int height, QWidget* parent);
    int Connect();
    int Disconnect();
    int SetOverlay(bool on);
    int SetPreview(bool on);
    // The current frame to a file: a device-independent bitmap, or a JPEG for a ".JPG" name.
    int SaveFrameAsBitmapFile(const std::string& fileName);
    void VideoFormatDialog();
    int VideoCompressionDialog();
    int VideoDisplayDialog();
    void RefreshSize();
    std::uint32_t GetImageWidth();
    std::uint32_t GetImageHeight();
    bool HasAudioHardware();
    int SetFrameSize(int width, int height);
    // A copy of the current frame at the given size (the multi-screen view asks for 160x120);
    // a null image when no frame could be taken. On success the clipboard-palette field takes the
    // frame's palette (empty for true-colour frames); otherwise it stays as it was.
    QImage GrabFrameImage(int width, int height);
    // Records to the file (blocking): AVI, MPEG-1 or MPEG-2 by recording type. Non-zero on success.
    int CaptureVideoStream(const std::string& fileName, int recordingType);
    // Ends a running CaptureVideoStream at its next picture; the file is finished and the
    // recording counts as complete. 0 when none runs.
    int StopCaptureVideoStream();

    // The audio format and the recording set-up, as the viewer's motion-capture operations use them.
    int GetAudioFormatSize();
    int GetAudioFormat(std::span<std::byte> buffer);
    int SetAudioFormat(std::span<const std::byte> buffer);
    int GetSequenceSetup(CaptureSequenceSetup& setup);
    int SetSequenceSetup(const CaptureSequenceSetup& setup);

    // The bitmap helpers of the multi-screen view: a deep copy (null for a null source) and release.
    static QImage CopyBitmap(const QImage& source);
    static void DeleteBitmap(QImage& bitmap);

    // The viewer learns the size on each refresh (it copies it into its recording frame size).
    void SetSizeListener(std::function<void(std::uint32_t width, std::uint32_t height)> listener) {
        m_sizeListener = std::move(listener);
    }

    // Queues `operation(*this)` to the user-interface thread and returns at once; the future
    // holds its answer (a default value when this object is gone before the call ran).
    template <typename Operation>
    auto Queue(Operation operation) -> std::future<decltype(operation(std::declval<CCaptureWindow&>()))> {
        using Result = decltype(operation(*this));
        return platform::queueCall(m_queueContext.get(), Result{}, [this, operation = std::move(operation)]() mutable {
            return operation(*this);
        });
    }

    bool IsWindow() const;
    CaptureWindowWidget* GetWindow() const;
    std::uint32_t ImageWidth() const { return m_imageWidth; }
    std::uint32_t ImageHeight() const { return m_imageHeight; }
    std::uint32_t DriverIndex() const { return m_driverIndex; }
    bool IsConnected() const { return m_connected; }
    int StillWidth() const { return m_stillWidth; }
    int StillHeight() const { return m_stillHeight; }
    void SetStillSize(int width, int height) {
        m_stillWidth = width;
        m_stillHeight = height;
    }
    const QList<QRgb>& ClipboardPalette() const { return m_clipboardPalette; }

    // The records shared by every user of the driver.
    static CaptureDriverCaps DriverCaps();
    static CaptureStatus Status();

private:
    template <typename Result, typename Operation>
    Result send(Result dead, Operation operation);

    SettingsStore& m_store;
    // Where queued calls run: lives on the thread that made this object; its end drops calls
    // still waiting.
    std::unique_ptr<QObject> m_queueContext = std::make_unique<QObject>();
    std::uint32_t m_imageWidth = 0;
    std::uint32_t m_imageHeight = 0;
    QList<QRgb> m_clipboardPalette;
    std::uint32_t m_driverIndex = 0;
    QPointer<CaptureWindowWidget> m_captureWindow;
    bool m_connected = false;
    int m_stillWidth = 320;
    int m_stillHeight = 240;
    std::function<void(std::uint32_t, std::uint32_t)> m_sizeListener;
};

}  // namespace kelto::capture
