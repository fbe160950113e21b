#pragma once
// The info page's scrolling text: a static control that moves its lines up over a tiled
// background picture, one pixel per tick of its timer 150, and starts over at the first line
// when the last one has left the top. Lines "BITMAP1^" to "BITMAP4^" are drawn as pictures; the
// first text line is the title and lines beginning "* " are list items.
#include "framework/MessageMap.h"
#include "framework/WindowTimers.h"

#include <QLabel>
#include <QPixmap>

#include <cstdint>
#include <string>
#include <vector>

namespace kelto::viewer::config {

class ScrollingText : public QLabel {
    Q_OBJECT

public:
    static constexpr int kTimerId = 150;
    static constexpr int kSlowest = 0;
    static constexpr int kFastest = 2;
    // The pictures the four picture lines stand for.
    static constexpr int kPictureBitmaps[] = {242, 243, 244, 245};

    explicit ScrollingText(QWidget* parent = nullptr);
    // A scrolling text in the place of a template's control: same parent, geometry, name and
    // control identifier; the template's control is deleted.
    static ScrollingText* replaceControl(QWidget* control);

    // The lines up to the first empty entry; the scroll begins again at the first line, and a
    // running scroll goes on running.
    void setLines(const std::vector<std::string>& lines);
    const std::vector<std::string>& lines() const { return lines_; }
    // Speed 0, 1 or 2 (a tick every 70, 40 or 10 ms); other levels are ignored.
    void setSpeed(int level);
    int speed() const { return speed_; }
    std::uint32_t periodMs() const;
    // The picture drawn under the lines, tiled (bitmap resource number; 0: none).
    void setBackground(int bitmapId);

    // Scrolls from the first line on; stop ends the timer.
    void start();
    void stop();
    bool scrolling() const { return scrolling_; }
    // Pixels scrolled since the first line came in at the bottom edge.
    int position() const { return position_; }
    // The height of all lines together, in pixels.
    int contentHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum class LineKind { Title, Item, Text, Spacer, Picture };
    LineKind kindOf(std::size_t index) const;
    QFont fontFor(LineKind kind) const;
    int lineHeight(std::size_t index) const;
    QPixmap pictureFor(const std::string& line) const;
    void step();

    framework::MessageMap map_;
    framework::WindowTimers timers_{map_};
    std::vector<std::string> lines_;
    std::size_t titleIndex_ = 0;  // the first line that is neither picture nor blank
    int speed_ = 1;
    bool scrolling_ = false;
    int position_ = 0;
    QPixmap background_;
};

}  // namespace kelto::viewer::config
