#include "viewer/config/CEnvironmentPage2.h"

#include "framework/ControlIds.h"
#include "viewer/config/ColourPageTexts.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QSlider>

namespace kelto::viewer::config {

namespace {

constexpr int kHighestComponent = 255;
constexpr ColorTriple kFactoryDisplayColour{255, 255, 0};

ScrollCode scrollCodeOf(int action, bool thumbDown) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: return ScrollCode::LineLeft;
    case QAbstractSlider::SliderSingleStepAdd: return ScrollCode::LineRight;
    case QAbstractSlider::SliderPageStepSub: return ScrollCode::PageLeft;
    case QAbstractSlider::SliderPageStepAdd: return ScrollCode::PageRight;
    // A move with the thumb held is still a drag; one without (the wheel) delivers a position.
    case QAbstractSlider::SliderMove: return thumbDown ? ScrollCode::ThumbTrack : ScrollCode::ThumbPosition;
    default: return ScrollCode::Other;
    }
}

}  // namespace

CEnvironmentPage2::CEnvironmentPage2(SheetViewer& viewer, QWidget* parent) : PropertyPage(kResourceId, parent), viewer_(viewer) {
    const ViewerSettings& settings = viewer_.viewerSettings();
    levels_ = openingLevels_ = settings.picture;
    display_ = openingDisplay_ = settings.osdColor;
    colourKey_ = openingColourKey_ = settings.colorKey;
    qualityRadio_ = qualityRadioForMode(viewer_.qualityMode());
    tooltipChecked_ = settings.tooltip == 1;

    openLevels();
    openColours();
    if (auto* tip = control<QAbstractButton>(kTooltipCheck)) tip->setChecked(tooltipChecked_);
    // The quality mode and the colour target are kept but not offered.
    for (int id : kQualityRadios)
        if (auto* radio = control<QAbstractButton>(id)) radio->setChecked(id == kQualityRadios[std::size_t(qualityRadio_)]);
    for (int id : {kQualityGroup, kQualityRadios[0], kQualityRadios[1], kQualityRadios[2], kTargetRadios[0], kTargetRadios[1]})
        if (QWidget* w = control(id)) w->hide();
    if (auto* group = control<QGroupBox>(kColourGroup))
        group->setTitle(QString::fromStdString(openedColourGroupTitle(currentUiLanguage())));
    openMixer();
    setTips();

    auto& map = messageMap();
    map.onCommand(kLevelDefaultButton, [this] {
        setLevels({kDefaultPictureLevel, kDefaultPictureLevel, kDefaultPictureLevel, kDefaultPictureLevel});
    });
    map.onCommand(kLevelCancelButton, [this] { setLevels(openingLevels_); });
    map.onCommand(kColourDefaultButton, [this] { setDisplayColour(kFactoryDisplayColour); });
    map.onCommand(kColourCancelButton, [this] { setDisplayColour(openingDisplay_); });
    map.onCommand(kTooltipCheck, [this] { onTooltip(); });
    map.onMessage(platform::WM_TIMER, [this](const platform::WindowMessage& m) -> std::int64_t {
        if (int(m.wParam) == kPreviewTimer)
            if (QWidget* preview = control(kPreview)) preview->update();
        return 0;
    });
    timers().set(kPreviewTimer, kPreviewPeriodMs);
}

CEnvironmentPage2::~CEnvironmentPage2() {
    commit();
    if (QWidget* preview = control(kPreview)) preview->removeEventFilter(this);
}

QScrollBar* CEnvironmentPage2::bar(int index) const { return control<QScrollBar>(kLevelBars[std::size_t(index)]); }

int& CEnvironmentPage2::levelOf(int index) {
    switch (index) {
    case 1: return levels_.contrast;
    case 2: return levels_.hue;
    case 3: return levels_.saturation;
    default: return levels_.brightness;
    }
}

void CEnvironmentPage2::openLevels() {
    for (int i = 0; i < int(kLevelBars.size()); ++i) {
        QScrollBar* b = bar(i);
        if (!b) continue;
        b->setRange(kLowestPictureLevel, kHighestPictureLevel);
        b->setSingleStep(kPictureLevelLine);
        b->setPageStep(kPictureLevelPage);
        // A drag delivers its position when the thumb is let go.
        b->setTracking(false);
        connect(b, &QAbstractSlider::actionTriggered, this,
                [this, i, b](int action) { onLevelScroll(i, scrollCodeOf(action, b->isSliderDown()), b->sliderPosition()); });
        connect(b, &QAbstractSlider::sliderReleased, this,
                [this, i, b] { onLevelScroll(i, ScrollCode::ThumbPosition, b->sliderPosition()); });
        setLevel(i, levelOf(i));
    }
}

void CEnvironmentPage2::onLevelScroll(int index, ScrollCode code, int deliveredPosition) {
    if (code == ScrollCode::ThumbTrack) return;  // the thumb follows the mouse until it is let go
    setLevel(index, scrolledPictureLevel(levelOf(index), code, deliveredPosition));
}

// Shows the level on its bar and in its field, sends it to the card and keeps it.
void CEnvironmentPage2::setLevel(int index, int level) {
    if (QScrollBar* b = bar(index)) {
        const QSignalBlocker quiet(b);
        b->setSliderPosition(level);
        b->setValue(level);
    }
    if (auto* field = control<QLabel>(kLevelFields[std::size_t(index)])) field->setText(QString::number(level));
    CTunerController& tuner = viewer_.tunerController();
    switch (index) {
    case 0: tuner.SetBrightness(level); break;
    case 1: tuner.SetContrast(level); break;
    case 2: tuner.SetHue(level); break;
    default: tuner.SetSaturation(level); break;
    }
    levelOf(index) = level;
}

void CEnvironmentPage2::setLevels(const PictureLevels& levels) {
    const std::array<int, 4> values = {levels.brightness, levels.contrast, levels.hue, levels.saturation};
    for (int i = 0; i < int(values.size()); ++i) setLevel(i, values[std::size_t(i)]);
}

void CEnvironmentPage2::openColours() {
    for (int id : {kRedSlider, kGreenSlider, kBlueSlider}) {
        auto* slider = control<QSlider>(id);
        if (!slider) continue;
        slider->setRange(0, kHighestComponent);
        connect(slider, &QAbstractSlider::valueChanged, this, [this, id](int position) { onColourSlider(id, position); });
    }
    setDisplayColour(display_);
    if (QWidget* preview = control(kPreview)) preview->installEventFilter(this);
}

void CEnvironmentPage2::onColourSlider(int slider, int position) {
    ColorTriple& target = targetRadio_ == 1 ? colourKey_ : display_;
    if (slider == kRedSlider) target.red = position;
    else if (slider == kGreenSlider) target.green = position;
    else target.blue = position;
    if (slider == kBlueSlider) separateFromColourKey(display_, colourKey_);  // sliders stay where they are
    if (QWidget* preview = control(kPreview)) preview->update();
}

// The display colour and the sliders that show it.
void CEnvironmentPage2::setDisplayColour(const ColorTriple& colour) {
    display_ = colour;
    const std::array<std::pair<int, int>, 3> positions = {{{kRedSlider, colour.red}, {kGreenSlider, colour.green}, {kBlueSlider, colour.blue}}};
    for (const auto& [id, value] : positions) {
        if (auto* slider = control<QSlider>(id)) {
            const QSignalBlocker quiet(slider);
            slider->setValue(value);
        }
    }
    if (QWidget* preview = control(kPreview)) preview->update();
}

bool CEnvironmentPage2::eventFilter(QObject* watched, QEvent* event) {
    // The preview is filled with the colour being edited; the frame's own painting draws its border over it.
    if (event->type() == QEvent::Paint && watched == control(kPreview)) {
        auto* frame = static_cast<QFrame*>(watched);
        const ColorTriple& c = targetRadio_ == 1 ? colourKey_ : display_;
        QPainter painter(frame);
        painter.fillRect(frame->contentsRect(), QColor(c.red, c.green, c.blue));
    }
    return PropertyPage::eventFilter(watched, event);
}

void CEnvironmentPage2::onTooltip() {
    auto* check = control<QAbstractButton>(kTooltipCheck);
    tooltipChecked_ = check && check->isChecked();
    viewer_.viewerSettings().tooltip = tooltipChecked_ ? 1 : 0;
}

void CEnvironmentPage2::openMixer() {
    auto* combo = control<QComboBox>(kMixerCombo);
    if (!combo) return;
    const bool open = viewer_.mixerOpen();
    combo->setEnabled(open);
    if (open) {
        for (const std::string& name : viewer_.mixerLineNames()) combo->addItem(QString::fromStdString(name));
        combo->setCurrentIndex(viewer_.selectedMixerLine());
    }
    // A line picked from the list (or with the keys) becomes the volume line at once.
    connect(combo, &QComboBox::activated, this, [this](int index) { onMixerLineChosen(index); });
}

void CEnvironmentPage2::onMixerLineChosen(int index) {
    if (index < 0) return;
    viewer_.selectMixerLine(index);  // the viewer takes its volume step from the new line
}

void CEnvironmentPage2::setTips() {
    const UiLanguage language = currentUiLanguage();
    for (QWidget* child : findChildren<QWidget*>()) {
        const std::string tip = colourPageTip(language, framework::controlIdOf(child));
        if (!tip.empty()) child->setToolTip(QString::fromStdString(tip));
    }
}

void CEnvironmentPage2::readQualityRadio() {
    for (std::size_t i = 0; i < kQualityRadios.size(); ++i)
        if (auto* radio = control<QAbstractButton>(kQualityRadios[i]); radio && radio->isChecked()) qualityRadio_ = int(i);
    if (auto* key = control<QAbstractButton>(kTargetRadios[1])) targetRadio_ = key->isChecked() ? 1 : 0;
}

void CEnvironmentPage2::commit() {
    readQualityRadio();
    timers().kill(kPreviewTimer);
    const int quality = qualityModeForRadio(qualityRadio_);
    ViewerSettings& settings = viewer_.viewerSettings();
    settings.osdColor = display_;
    settings.picture = levels_;
    settings.colorKey = colourKey_;
    viewer_.setQualityMode(quality);

    // The levels are saved now and used from the next start on; the colours go with the viewer's close.
    SettingsStore& store = viewer_.settingsStore();
    const SettingsStore::WriteGroup oneSave(store);
    store.writeInt(section::kUser, "s_quality", quality);
    store.writeInt(section::kUser, "s_brightness", levels_.brightness);
    store.writeInt(section::kUser, "s_contrast", levels_.contrast);
    store.writeInt(section::kUser, "s_hue", levels_.hue);
    store.writeInt(section::kUser, "s_saturation", levels_.saturation);
    store.writeInt(section::kUser, "s_screenflag", 1);
}

}  // namespace kelto::viewer::config
