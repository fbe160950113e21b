#pragma once
// The desktop's background: its pattern, its colour and its wallpaper, as the viewer's desktop
// TV sets them (the colour key everywhere, no pattern, no wallpaper) and gives them back.
//
// The session backend keeps the three in memory, starting from the current user's
// "Control Panel\desktop" values ("Pattern", "Wallpaper") and colour black, and changes nothing
// that outlives the session: neither the registry nor the desktop's own settings are written.
// Whoever paints the desktop picture reads the colour from it. The recording backend (for tests)
// does the same and keeps every call.
//
// Threads: call from the user-interface thread.
#include <cstdint>
#include <string>
#include <vector>

namespace kelto::platform {

// A colour packed red in the low byte, then green, then blue.
using PackedColour = std::uint32_t;

class DesktopBackground {
public:
    virtual ~DesktopBackground() = default;
    virtual std::string pattern() const = 0;
    virtual void setPattern(const std::string& pattern) = 0;
    virtual PackedColour colour() const = 0;
    virtual void setColour(PackedColour colour) = 0;
    // "" removes the wallpaper.
    virtual std::string wallpaper() const = 0;
    virtual void setWallpaper(const std::string& file) = 0;
};

class SessionDesktopBackground : public DesktopBackground {
public:
    SessionDesktopBackground();
    std::string pattern() const override { return pattern_; }
    void setPattern(const std::string& pattern) override { pattern_ = pattern; }
    PackedColour colour() const override { return colour_; }
    void setColour(PackedColour colour) override { colour_ = colour; }
    std::string wallpaper() const override { return wallpaper_; }
    void setWallpaper(const std::string& file) override { wallpaper_ = file; }

private:
    std::string pattern_;
    PackedColour colour_ = 0;
    std::string wallpaper_;
};

class RecordingDesktopBackground final : public SessionDesktopBackground {
public:
    enum class Call { SetPattern, SetColour, SetWallpaper };
    struct Entry {
        Call call;
        std::string text;  // pattern or wallpaper
        PackedColour colour = 0;
        bool operator==(const Entry&) const = default;
    };
    void setPattern(const std::string& pattern) override;
    void setColour(PackedColour colour) override;
    void setWallpaper(const std::string& file) override;
    const std::vector<Entry>& calls() const { return calls_; }
    void clear() { calls_.clear(); }

private:
    std::vector<Entry> calls_;
};

DesktopBackground& desktopBackground();
// Installs a backend (which must outlive its installation); nullptr goes back to the session one.
void setDesktopBackground(DesktopBackground* backend);

// The current user's "Control Panel\desktop" key and its values.
inline constexpr const char* kDesktopKey = "Control Panel\\desktop";

}  // namespace kelto::platform
