#include "viewer/config/ScrollingText.h"

#include "framework/ControlIds.h"
#include "resources/ArtResource.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include <array>

namespace kelto::viewer::config {

namespace {

constexpr std::array<std::uint32_t, 3> kPeriodsMs = {70, 40, 10};
constexpr const char kPictureSuffix = '^';
constexpr const char* kPicturePrefix = "BITMAP";
constexpr int kPictureCount = 4;
constexpr int kSpacerHeight = 14;
constexpr int kPictureMargin = 6;
constexpr int kFadeHeight = 18;
constexpr int kItemIndent = 14;

const QColor kTitleColour(0x6f, 0xe3, 0xff);
const QColor kItemColour(0xdd, 0xe3, 0xea);
const QColor kTextColour(0xb4, 0xbe, 0xc9);
const QColor kBulletColour(0x3f, 0xc8, 0xf0);
const QColor kBackdropColour(0x1c, 0x1f, 0x24);

// The picture number (1..4) of a "BITMAPn^" line, 0 for other lines.
int pictureNumber(const std::string& line) {
    const std::string prefix = kPicturePrefix;
    if (line.size() != prefix.size() + 2 || line.compare(0, prefix.size(), prefix) != 0 || line.back() != kPictureSuffix)
        return 0;
    const int n = line[prefix.size()] - '0';
    return n >= 1 && n <= kPictureCount ? n : 0;
}

bool isBlank(const std::string& line) { return line.find_first_not_of(' ') == std::string::npos; }

bool isItem(const std::string& line) { return line.size() > 2 && line.compare(0, 2, "* ") == 0; }

}  // namespace

ScrollingText::ScrollingText(QWidget* parent) : QLabel(parent) {
    map_.onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) -> std::int64_t {
        if (int(m.wParam) == kTimerId) step();
        return 0;
    });
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ScrollingText* ScrollingText::replaceControl(QWidget* control) {
    if (!control) return nullptr;
    auto* text = new ScrollingText(control->parentWidget());
    text->setObjectName(control->objectName());
    text->setGeometry(control->geometry());
    framework::stampControlId(text, framework::controlIdOf(control));
    text->setVisible(!control->isHidden());
    delete control;
    return text;
}

void ScrollingText::setLines(const std::vector<std::string>& lines) {
    lines_.clear();
    for (const std::string& line : lines) {
        if (line.empty()) break;
        lines_.push_back(line);
    }
    titleIndex_ = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!pictureNumber(lines_[i]) && !isBlank(lines_[i])) {
            titleIndex_ = i;
            break;
        }
    }
    position_ = 0;
    update();
}

void ScrollingText::setSpeed(int level) {
    if (level < kSlowest || level > kFastest) return;
    speed_ = level;
    if (scrolling_) timers_.set(kTimerId, periodMs());
}

std::uint32_t ScrollingText::periodMs() const { return kPeriodsMs[std::size_t(speed_)]; }

void ScrollingText::setBackground(int bitmapId) {
    background_ = bitmapId ? bitmapResource(bitmapId) : QPixmap();
    update();
}

void ScrollingText::start() {
    position_ = 0;
    scrolling_ = true;
    timers_.set(kTimerId, periodMs());
    update();
}

void ScrollingText::stop() {
    scrolling_ = false;
    timers_.kill(kTimerId);
}

void ScrollingText::step() {
    // Once the last line has left the top, the first comes in again at the bottom.
    if (++position_ > height() + contentHeight()) position_ = 0;
    update();
}

ScrollingText::LineKind ScrollingText::kindOf(std::size_t index) const {
    const std::string& line = lines_[index];
    if (pictureNumber(line)) return LineKind::Picture;
    if (isBlank(line)) return LineKind::Spacer;
    if (index == titleIndex_) return LineKind::Title;
    if (isItem(line)) return LineKind::Item;
    return LineKind::Text;
}

QFont ScrollingText::fontFor(LineKind kind) const {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    switch (kind) {
    case LineKind::Title:
        f.setPixelSize(24);
        f.setBold(true);
        break;
    case LineKind::Item: f.setPixelSize(13); break;
    default: f.setPixelSize(12); break;
    }
    return f;
}

int ScrollingText::lineHeight(std::size_t index) const {
    const LineKind kind = kindOf(index);
    if (kind == LineKind::Spacer) return kSpacerHeight;
    if (kind == LineKind::Picture) return pictureFor(lines_[index]).height() + 2 * kPictureMargin;
    const int extra = kind == LineKind::Title ? 6 : kind == LineKind::Item ? 6 : 4;
    return QFontMetrics(fontFor(kind)).height() + extra;
}

int ScrollingText::contentHeight() const {
    int total = 0;
    for (std::size_t i = 0; i < lines_.size(); ++i) total += lineHeight(i);
    return total;
}

QPixmap ScrollingText::pictureFor(const std::string& line) const {
    const int n = pictureNumber(line);
    if (!n) return {};
    const QPixmap picture = bitmapResource(kPictureBitmaps[n - 1]);
    return picture.isNull() ? QPixmap() : picture;
}

void ScrollingText::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    if (background_.isNull()) p.fillRect(rect(), kBackdropColour);
    else p.drawTiledPixmap(rect(), background_);

    int y = height() - position_;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const int h = lineHeight(i);
        if (y + h >= 0 && y < height()) {
            const LineKind kind = kindOf(i);
            const QRect box(0, y, width(), h);
            if (kind == LineKind::Picture) {
                const QPixmap picture = pictureFor(lines_[i]);
                p.drawPixmap((width() - picture.width()) / 2, y + kPictureMargin, picture);
            } else if (kind != LineKind::Spacer) {
                QString text = QString::fromStdString(lines_[i]);
                p.setFont(fontFor(kind));
                if (kind == LineKind::Item) {
                    text = text.mid(2);
                    // The item is centred with its bullet in front of it.
                    const int textWidth = QFontMetrics(p.font()).horizontalAdvance(text);
                    const int left = (width() - textWidth + kItemIndent) / 2;
                    p.setPen(Qt::NoPen);
                    p.setBrush(kBulletColour);
                    p.drawEllipse(QPointF(left - kItemIndent + 4, y + h / 2.0), 3.0, 3.0);
                    p.setPen(kItemColour);
                    p.drawText(QRect(left, y, textWidth + 2, h), Qt::AlignLeft | Qt::AlignVCenter, text);
                } else {
                    p.setPen(kind == LineKind::Title ? kTitleColour : kTextColour);
                    p.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter, text);
                }
            }
        }
        y += h;
    }

    // The lines fade in at the bottom and out at the top edge.
    const QColor solid = kBackdropColour;
    QColor clear = solid;
    clear.setAlpha(0);
    QLinearGradient top(0, 0, 0, kFadeHeight);
    top.setColorAt(0, solid);
    top.setColorAt(1, clear);
    p.fillRect(QRect(0, 0, width(), kFadeHeight), top);
    QLinearGradient bottom(0, height() - kFadeHeight, 0, height());
    bottom.setColorAt(0, clear);
    bottom.setColorAt(1, solid);
    p.fillRect(QRect(0, height() - kFadeHeight, width(), kFadeHeight), bottom);
}

}  // namespace kelto::viewer::config
