// The display's modes on X11 through the RandR extension (1.2 or later): the modes of the
// primary output (or the first connected one) at the screen's depth, which X cannot change. A
// switch sets the output's CRTC to the mode and, when that CRTC is the only one lit, makes the
// screen the mode's size, so that a maximised window covers exactly the new mode. The server
// forgets it all when the session ends; nothing is written anywhere.
#include "platform/DisplayModes.h"
#include "platform/Trace.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cstdlib>

namespace kelto::platform {

namespace {

bool xErrorSeen = false;
int noteXError(Display*, XErrorEvent*) {
    xErrorSeen = true;
    return 0;
}

// X errors during a switch are noted instead of ending the program.
class XErrorTrap {
public:
    explicit XErrorTrap(Display* display) : display_(display) {
        XSync(display_, False);
        xErrorSeen = false;
        previous_ = XSetErrorHandler(noteXError);
    }
    ~XErrorTrap() {
        XSync(display_, False);
        XSetErrorHandler(previous_);
    }
    bool failed() {
        XSync(display_, False);
        return xErrorSeen;
    }

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

class Resources {
public:
    Resources(Display* display, Window root) : res_(XRRGetScreenResourcesCurrent(display, root)) {}
    ~Resources() {
        if (res_) XRRFreeScreenResources(res_);
    }
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;
    XRRScreenResources* get() const { return res_; }
    explicit operator bool() const { return res_ != nullptr; }
    const XRRModeInfo* modeInfo(RRMode id) const {
        for (int i = 0; i < res_->nmode; ++i)
            if (res_->modes[i].id == id) return &res_->modes[i];
        return nullptr;
    }

private:
    XRRScreenResources* res_;
};

template <typename T, void (*Free)(T*)>
struct XFreeing {
    T* p;
    explicit XFreeing(T* pointer) : p(pointer) {}
    ~XFreeing() {
        if (p) Free(p);
    }
    XFreeing(const XFreeing&) = delete;
    XFreeing& operator=(const XFreeing&) = delete;
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};
using OutputInfo = XFreeing<XRROutputInfo, XRRFreeOutputInfo>;
using CrtcInfo = XFreeing<XRRCrtcInfo, XRRFreeCrtcInfo>;

int refreshOf(const XRRModeInfo& m) {
    double lines = m.vTotal;
    if (m.modeFlags & RR_DoubleScan) lines *= 2;
    if (m.modeFlags & RR_Interlace) lines /= 2;
    if (m.hTotal == 0 || lines == 0) return 0;
    return int(double(m.dotClock) / (double(m.hTotal) * lines) + 0.5);
}

class XRandrDisplayModes final : public DisplayModes {
public:
    explicit XRandrDisplayModes(Display* display)
        : display_(display), root_(DefaultRootWindow(display)), depth_(DefaultDepth(display, DefaultScreen(display))) {}
    ~XRandrDisplayModes() override { XCloseDisplay(display_); }

    std::optional<DisplayMode> current() override {
        Resources res(display_, root_);
        if (!res) return std::nullopt;
        const auto [output, crtc] = chosenOutput(res);
        if (!crtc) return std::nullopt;
        CrtcInfo info(XRRGetCrtcInfo(display_, res.get(), crtc));
        if (!info) return std::nullopt;
        const XRRModeInfo* m = res.modeInfo(info->mode);
        if (!m) return std::nullopt;
        return describe(*m);
    }

    ModeQuery mode(int index, DisplayMode& mode) override {
        Resources res(display_, root_);
        if (!res) return ModeQuery::Failed;
        const auto [output, crtc] = chosenOutput(res);
        if (!output) return ModeQuery::Failed;
        OutputInfo info(XRRGetOutputInfo(display_, res.get(), output));
        if (!info) return ModeQuery::Failed;
        if (index < 0 || index >= info->nmode) return ModeQuery::End;
        const XRRModeInfo* m = res.modeInfo(info->modes[index]);
        if (!m) return ModeQuery::Failed;
        mode = describe(*m);
        return ModeQuery::Found;
    }

    bool apply(const DisplayMode& wanted, bool) override {
        if (wanted.bitsPerPixel != depth_) return refused(wanted, "the screen's depth cannot change");
        Resources res(display_, root_);
        if (!res) return refused(wanted, "the screen's resources cannot be read");
        const auto [output, crtc] = chosenOutput(res);
        if (!output || !crtc) return refused(wanted, "no lit output");
        OutputInfo outputInfo(XRRGetOutputInfo(display_, res.get(), output));
        CrtcInfo crtcInfo(XRRGetCrtcInfo(display_, res.get(), crtc));
        if (!outputInfo || !crtcInfo) return refused(wanted, "the output cannot be read");
        RRMode chosen = 0;
        for (int i = 0; i < outputInfo->nmode; ++i) {
            const XRRModeInfo* m = res.modeInfo(outputInfo->modes[i]);
            if (!m || int(m->width) != wanted.width || int(m->height) != wanted.height) continue;
            if (wanted.id != 0 && m->id == wanted.id) {
                chosen = m->id;
                break;
            }
            if (!chosen) chosen = m->id;
        }
        if (!chosen) return refused(wanted, "the output offers no such mode");
        if (chosen == crtcInfo->mode) return true;

        const bool sideways = crtcInfo->rotation & (RR_Rotate_90 | RR_Rotate_270);
        const int width = sideways ? wanted.height : wanted.width;
        const int height = sideways ? wanted.width : wanted.height;
        // The screen follows the mode only when this CRTC is the one lit at the origin.
        const bool alone = litCrtcs(res) == 1 && crtcInfo->x == 0 && crtcInfo->y == 0;
        const int screen = DefaultScreen(display_);
        const int oldWidth = DisplayWidth(display_, screen), oldHeight = DisplayHeight(display_, screen);
        int minW = 0, minH = 0, maxW = 0, maxH = 0;
        XRRGetScreenSizeRange(display_, root_, &minW, &minH, &maxW, &maxH);
        const bool resize = alone && width >= minW && height >= minH && width <= maxW && height <= maxH;

        XGrabServer(display_);
        XErrorTrap trap(display_);
        if (resize && (width > oldWidth || height > oldHeight))
            setScreenSize(std::max(width, oldWidth), std::max(height, oldHeight), oldWidth, oldHeight);
        const Status status = XRRSetCrtcConfig(display_, res.get(), crtc, CurrentTime, crtcInfo->x, crtcInfo->y, chosen,
                                               crtcInfo->rotation, crtcInfo->outputs, crtcInfo->noutput);
        bool ok = status == RRSetConfigSuccess && !trap.failed();
        if (ok && resize) {
            setScreenSize(width, height, oldWidth, oldHeight);
            ok = !trap.failed();
        } else if (!ok && resize) {
            setScreenSize(oldWidth, oldHeight, oldWidth, oldHeight);
        }
        XUngrabServer(display_);
        XFlush(display_);
        if (!ok) return refused(wanted, "the server refused the mode");
        tracef("Display: switched to %dx%d", wanted.width, wanted.height);
        return true;
    }

private:
    DisplayMode describe(const XRRModeInfo& m) const {
        return {depth_, int(m.width), int(m.height), refreshOf(m), std::uint64_t(m.id)};
    }

    bool refused(const DisplayMode& wanted, const char* why) {
        tracef("Display: no switch to %dx%d at %d bits: %s", wanted.width, wanted.height, wanted.bitsPerPixel, why);
        return false;
    }

    std::pair<RROutput, RRCrtc> chosenOutput(const Resources& res) {
        const RROutput primary = XRRGetOutputPrimary(display_, root_);
        RROutput firstConnected = 0;
        RRCrtc firstCrtc = 0;
        for (int i = 0; i < res.get()->noutput; ++i) {
            const RROutput output = res.get()->outputs[i];
            OutputInfo info(XRRGetOutputInfo(display_, res.get(), output));
            if (!info || info->connection != RR_Connected) continue;
            if (output == primary && info->crtc) return {output, info->crtc};
            if (!firstConnected && info->crtc) {
                firstConnected = output;
                firstCrtc = info->crtc;
            }
        }
        return {firstConnected, firstCrtc};
    }

    int litCrtcs(const Resources& res) {
        int lit = 0;
        for (int i = 0; i < res.get()->ncrtc; ++i) {
            CrtcInfo info(XRRGetCrtcInfo(display_, res.get(), res.get()->crtcs[i]));
            if (info && info->mode) ++lit;
        }
        return lit;
    }

    void setScreenSize(int width, int height, int oldWidth, int oldHeight) {
        const int screen = DefaultScreen(display_);
        const int mmW = oldWidth > 0 ? DisplayWidthMM(display_, screen) * width / oldWidth : 0;
        const int mmH = oldHeight > 0 ? DisplayHeightMM(display_, screen) * height / oldHeight : 0;
        XRRSetScreenSize(display_, root_, width, height, std::max(mmW, 1), std::max(mmH, 1));
    }

    Display* display_;
    Window root_;
    int depth_;
};

}  // namespace

std::unique_ptr<DisplayModes> makeXRandrDisplayModes(const std::string& displayName) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display) return nullptr;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
        (major == 1 && minor < 2) || major < 1) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<XRandrDisplayModes>(display);
}

bool installXRandrDisplayModes() {
    // Kept for the process's life.
    static DisplayModes* display = makeXRandrDisplayModes().release();
    if (!display) {
        tracef("Display: no X11 display with RandR; the display mode is never switched");
        return false;
    }
    setDisplayModes(display);
    return true;
}

}  // namespace kelto::platform
