// The keypad's behaviour over a real viewer session (United States plans: broadcast 2..69, cable
// 1..125) with a viewer side that records what the keypad asks of the viewer window.
#include "tests/viewer/core/SessionRig.h"
#include "viewer/keypad/RemoteKeypad.h"

#include "platform/WindowMessageIds.h"
#include "resources/StringTable.h"

#include <set>

namespace kelto::viewer::test {
namespace {

class RecordingViewerSide : public KeypadViewerSide {
public:
    struct Key {
        bool down;
        Qt::Key key;
        bool operator==(const Key&) const = default;
    };
    void postKeyToViewer(bool down, Qt::Key key, Qt::KeyboardModifiers) override {
        keys.push_back({down, key});
        steps.push_back("key");
    }
    void sendCommandToViewer(int command, bool fromAccelerator) override {
        sent.push_back(command);
        sentFromAccelerator.push_back(fromAccelerator);
        steps.push_back("send " + std::to_string(command));
        // Ending desktop TV shows the viewer normally.
        if (command == RemoteKeypad::kDesktopTvCommand) desktopTv = maximised = false;
    }
    void postCommandToViewer(int command) override { steps.push_back("post " + std::to_string(command)); }
    bool desktopTvOn() const override { return desktopTv; }
    bool viewerHidden() const override { return hidden; }
    bool viewerMaximised() const override { return maximised; }
    void keypadClosing() override { steps.push_back("closing"); }
    void keypadClosed() override { steps.push_back("closed"); }
    void minimiseKeypad() override { steps.push_back("minimise"); }

    std::vector<Key> keys;
    std::vector<int> sent;
    std::vector<bool> sentFromAccelerator;
    std::vector<std::string> steps;
    bool desktopTv = false, hidden = false, maximised = false;
};

// The session hands the keypad what it shows, as the viewer window does while the keypad is open.
class ForwardingSink : public KeypadSink {
public:
    void showChannelNumber(int number) override { if (target) target->showChannelNumber(number); }
    void refresh() override { if (target) target->refresh(); }
    void passOn(std::uint32_t message, std::uint64_t wParam) override { if (target) target->passOn(message, wParam); }
    KeypadSink* target = nullptr;
};

class RemoteKeypadTest : public SessionTest {
protected:
    RemoteKeypad& openKeypad() {
        session = std::make_unique<ViewerSession>(
            ViewerParts{settings, store, model, controller, mixer, timers, osd, panel, &sink, recorder});
        timers.session = session.get();
        session->openMixer(&target);
        session->applyPictureLevels();
        session->applyLoadedMode();
        CompanionWindows companions;
        companions.keypadOpen = true;
        session->setCompanions(companions);
        keypad = std::make_unique<RemoteKeypad>(*session, viewerSide);
        sink.target = keypad.get();
        osd.shown.clear();
        return *keypad;
    }
    void TearDown() override {
        sink.target = nullptr;
        keypad.reset();
        SessionTest::TearDown();
    }
    // A click: press and release at the centre of the key.
    void click(KeypadRegion region) {
        const QPoint centre = keypadRegionRect(region).center();
        ASSERT_TRUE(keypad->press(centre));
        keypad->release(centre);
    }

    RecordingViewerSide viewerSide;
    ForwardingSink sink;
    std::unique_ptr<RemoteKeypad> keypad;
};

TEST(KeypadLayoutTest, EighteenKeysAtTheirRectanglesWithTheirTooltips) {
    struct Expected {
        KeypadRegion region;
        QRect edges;  // left, top, right, bottom
        int tip;
        const char* text;
    };
    const auto r = [](int l, int t, int rr, int b) { return QRect(QPoint(l, t), QPoint(rr, b)); };
    const Expected expected[] = {
        {KeypadRegion::Digit1, r(11, 59, 27, 75), 223, "Channel Input"},
        {KeypadRegion::Digit2, r(35, 59, 51, 75), 223, "Channel Input"},
        {KeypadRegion::Digit3, r(59, 59, 75, 75), 223, "Channel Input"},
        {KeypadRegion::Digit4, r(11, 83, 27, 99), 223, "Channel Input"},
        {KeypadRegion::Digit5, r(35, 83, 51, 99), 223, "Channel Input"},
        {KeypadRegion::Digit6, r(59, 83, 75, 99), 223, "Channel Input"},
        {KeypadRegion::Digit7, r(11, 107, 27, 123), 223, "Channel Input"},
        {KeypadRegion::Digit8, r(35, 107, 51, 123), 223, "Channel Input"},
        {KeypadRegion::Digit9, r(59, 107, 75, 123), 223, "Channel Input"},
        {KeypadRegion::Digit0, r(35, 131, 51, 147), 223, "Channel Input"},
        {KeypadRegion::Save, r(64, 157, 80, 171), 227, "Save Channel"},
        {KeypadRegion::Delete, r(87, 157, 103, 171), 228, "Delete Channel"},
        {KeypadRegion::Previous, r(11, 131, 27, 147), 224, "Previous"},
        {KeypadRegion::Next, r(59, 131, 75, 147), 225, "Next"},
        {KeypadRegion::ListUp, r(90, 60, 113, 83), 213, "Channel Up"},
        {KeypadRegion::ListDown, r(90, 100, 113, 123), 214, "Channel Down"},
        {KeypadRegion::Restore, r(17, 157, 50, 171), 226, "Restore"},
        {KeypadRegion::Minimise, r(105, 1, 118, 14), 229, "Minimize"},
    };
    setUiLanguage(UiLanguage::EnglishUS);
    ASSERT_EQ(std::size(expected), std::size_t(kKeypadRegionCount));
    for (const Expected& e : expected) {
        SCOPED_TRACE(index(e.region));
        const QRect rect = keypadRegionRect(e.region);
        // Left and top belong to the key, right and bottom do not.
        EXPECT_EQ(QRect(rect.topLeft(), rect.bottomRight() + QPoint(1, 1)), e.edges);
        EXPECT_EQ(keypadRegionAt(e.edges.topLeft()), e.region);
        EXPECT_EQ(keypadRegionAt(e.edges.bottomRight() - QPoint(1, 1)), e.region);
        EXPECT_NE(keypadRegionAt(e.edges.bottomRight()), e.region);
        EXPECT_NE(keypadRegionAt(QPoint(e.edges.right(), e.edges.top())), e.region);
        EXPECT_EQ(keypadTooltipStringId(e.region), e.tip);
        EXPECT_EQ(LoadMessage(e.tip), e.text);
        EXPECT_TRUE(QRect(QPoint(0, 0), kKeypadSize).contains(rect));
    }
    // Beside the keys: the glass, the title strip, the gaps.
    for (QPoint beside : {QPoint(40, 30), QPoint(50, 5), QPoint(30, 67), QPoint(100, 90), QPoint(5, 175)})
        EXPECT_FALSE(keypadRegionAt(beside)) << beside.x() << "," << beside.y();
    setUiLanguage(std::nullopt);
}

TEST_F(RemoteKeypadTest, AKeyActsOnlyWhenReleasedInsideIt) {
    RemoteKeypad& k = openKeypad();
    const QRect five = keypadRegionRect(KeypadRegion::Digit5);
    ASSERT_TRUE(k.press(five.center()));
    EXPECT_TRUE(k.view().isDrawnPressed(KeypadRegion::Digit5));
    k.move(five.center() + QPoint(30, 0));  // out: drawn up, still held
    EXPECT_FALSE(k.view().isDrawnPressed(KeypadRegion::Digit5));
    EXPECT_TRUE(k.holding());
    k.move(five.center());  // back in
    EXPECT_TRUE(k.view().isDrawnPressed(KeypadRegion::Digit5));
    k.move(keypadRegionRect(KeypadRegion::Digit6).center());  // over another key: that one is not pressed
    EXPECT_FALSE(k.view().isDrawnPressed(KeypadRegion::Digit6));
    k.release(keypadRegionRect(KeypadRegion::Digit6).center());
    EXPECT_FALSE(k.holding());
    EXPECT_FALSE(session->numericEntryActive());
    EXPECT_TRUE(osd.shown.empty());

    // Released outside every key: nothing either.
    ASSERT_TRUE(k.press(five.center()));
    k.release(QPoint(40, 30));
    EXPECT_FALSE(session->numericEntryActive());

    // A press beside the keys holds nothing (the window moves instead).
    EXPECT_FALSE(k.press(QPoint(40, 30)));
    k.release(QPoint(40, 30));

    // Released inside: the digit is typed.
    click(KeypadRegion::Digit5);
    EXPECT_TRUE(session->numericEntryActive());
    EXPECT_EQ(k.view().channelNumber, 5);
    for (bool pressed : k.view().drawnPressed) EXPECT_FALSE(pressed);
    advanceMs(1000);
    EXPECT_EQ(session->tvChannel(), 5);
}

TEST_F(RemoteKeypadTest, NextAndPreviousStopAtTheBandsEnds) {
    settings.videoMode = VideoMode::CATV;
    settings.catvChannel = 124;
    openKeypad();
    click(KeypadRegion::Next);
    EXPECT_EQ(session->catvChannel(), 125);
    EXPECT_EQ(osd.lastText(), "CH 125");
    click(KeypadRegion::Next);  // the cable band's highest channel: it stays
    EXPECT_EQ(session->catvChannel(), 125);
    EXPECT_EQ(keypad->view().channelNumber, 125);

    // "<" and ">" step numbers, not the registered list (6, 7, 9, 11, 12 on the broadcast band).
    session->SetVideoMode(VideoMode::TV);
    EXPECT_EQ(session->tvChannel(), 7);
    click(KeypadRegion::Next);
    EXPECT_EQ(session->tvChannel(), 8);
    session->TuneChannel(3, false);
    click(KeypadRegion::Previous);
    EXPECT_EQ(session->tvChannel(), 2);
    click(KeypadRegion::Previous);  // the broadcast band's lowest channel: it stays
    EXPECT_EQ(session->tvChannel(), 2);
    EXPECT_EQ(osd.lastText(), "CH   2");
    EXPECT_TRUE(viewerSide.keys.empty());
}

TEST_F(RemoteKeypadTest, WithListNumberingPreviousAndNextStepThroughTheListAsArrowKeys) {
    settings.countryCode = 86;
    openKeypad();
    const int before = session->tvChannel();
    click(KeypadRegion::Next);
    click(KeypadRegion::Previous);
    using K = RecordingViewerSide::Key;
    EXPECT_EQ(viewerSide.keys, (std::vector<K>{{true, Qt::Key_Up}, {true, Qt::Key_Down}}));
    EXPECT_EQ(session->tvChannel(), before);  // nothing tuned by number
}

TEST_F(RemoteKeypadTest, ListKeysSaveDeleteAndMinimise) {
    openKeypad();
    click(KeypadRegion::ListUp);
    click(KeypadRegion::ListDown);
    using K = RecordingViewerSide::Key;
    EXPECT_EQ(viewerSide.keys, (std::vector<K>{{true, Qt::Key_Up}, {true, Qt::Key_Down}}));

    session->TuneChannel(8, false);
    click(KeypadRegion::Save);
    EXPECT_EQ(registered(ChannelBand::Broadcast), (std::vector<int>{6, 7, 8, 9, 11, 12}));
    click(KeypadRegion::Delete);
    EXPECT_EQ(registered(ChannelBand::Broadcast), (std::vector<int>{6, 7, 9, 11, 12}));
    click(KeypadRegion::Minimise);
    EXPECT_EQ(viewerSide.steps.back(), "minimise");
}

TEST_F(RemoteKeypadTest, RestoreEndsDesktopTvAndLeavesFullScreenOnlyWhenOn) {
    struct Case {
        bool desktopTv, maximised;
        std::vector<std::string> steps;
    };
    const Case cases[] = {
        {false, false, {"closing", "closed"}},
        {false, true, {"closing", "post 32779", "closed"}},
        // Ending desktop TV shows the viewer normally: nothing is left to leave.
        {true, true, {"closing", "send 32790", "closed"}},
        {true, false, {"closing", "send 32790", "closed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "desktop TV " << c.desktopTv << ", maximised " << c.maximised);
        viewerSide = RecordingViewerSide{};
        viewerSide.desktopTv = c.desktopTv;
        viewerSide.maximised = c.maximised;
        openKeypad();
        click(KeypadRegion::Restore);
        EXPECT_EQ(viewerSide.steps, c.steps);
        // Restored once: a second close request and keys that arrive late do nothing.
        keypad->restore();
        click(KeypadRegion::Digit1);
        EXPECT_EQ(viewerSide.steps, c.steps);
        EXPECT_FALSE(session->numericEntryActive());
        sink.target = nullptr;
    }
}

TEST_F(RemoteKeypadTest, KeysGoToTheViewerExceptEscAndF10) {
    RemoteKeypad& k = openKeypad();
    using R = KeypadKeyRoute;
    using K = RecordingViewerSide::Key;
    EXPECT_EQ(k.key(true, Qt::Key_Escape, Qt::NoModifier, std::nullopt), R::Swallowed);
    EXPECT_EQ(k.key(true, Qt::Key_F10, Qt::NoModifier, std::nullopt), R::Swallowed);
    EXPECT_EQ(k.key(false, Qt::Key_Escape, Qt::NoModifier, std::nullopt), R::PostedToViewer);
    EXPECT_EQ(k.key(true, Qt::Key_5, Qt::NoModifier, std::nullopt), R::PostedToViewer);
    EXPECT_EQ(k.key(false, Qt::Key_5, Qt::NoModifier, std::nullopt), R::PostedToViewer);
    // A key of the viewer's accelerator table while the viewer is shown: its own table takes it there.
    EXPECT_EQ(k.key(true, Qt::Key_Up, Qt::NoModifier, 32895), R::PostedToViewer);
    EXPECT_EQ(viewerSide.keys, (std::vector<K>{{false, Qt::Key_Escape}, {true, Qt::Key_5}, {false, Qt::Key_5}, {true, Qt::Key_Up}}));
    EXPECT_TRUE(viewerSide.sent.empty());

    // While the viewer is hidden (desktop TV) the keypad translates it as a command for the viewer.
    viewerSide.hidden = true;
    viewerSide.keys.clear();
    EXPECT_EQ(k.key(true, Qt::Key_Up, Qt::NoModifier, 32895), R::ViewerCommand);
    EXPECT_EQ(k.key(true, Qt::Key_Escape, Qt::NoModifier, std::nullopt), R::Swallowed);
    EXPECT_EQ(k.key(true, Qt::Key_7, Qt::NoModifier, std::nullopt), R::PostedToViewer);
    EXPECT_EQ(viewerSide.sent, (std::vector<int>{32895}));
    EXPECT_EQ(viewerSide.sentFromAccelerator, (std::vector<bool>{true}));
    EXPECT_EQ(viewerSide.keys, (std::vector<K>{{true, Qt::Key_7}}));
}

TEST_F(RemoteKeypadTest, ShowsTheViewersModeChannelMuteAndVolumeAsTheyChange) {
    RemoteKeypad& k = openKeypad();
    EXPECT_EQ(k.view().videoMode, VideoMode::TV);
    EXPECT_EQ(k.view().channelNumber, 7);
    EXPECT_EQ(k.view().volumeStep, 16);
    EXPECT_FALSE(k.view().muted);
    session->channelUp();
    EXPECT_EQ(k.view().channelNumber, 9);
    session->SetVideoMode(VideoMode::CATV);
    EXPECT_EQ(k.view().videoMode, VideoMode::CATV);
    EXPECT_EQ(k.view().channelNumber, 6);
    session->SetVolumeStep(5);
    EXPECT_EQ(k.view().volumeStep, 5);
    session->muteToggle();
    EXPECT_TRUE(k.view().muted);
    session->muteToggle();
    EXPECT_FALSE(k.view().muted);
    session->SetVideoMode(VideoMode::VIDEO);
    EXPECT_EQ(k.view().videoMode, VideoMode::VIDEO);
}

TEST_F(RemoteKeypadTest, CharactersMuteAndPreviousChannelFromTheRemoteReachTheKeypadWithoutAction) {
    RemoteKeypad& k = openKeypad();
    session->TuneChannel(9, false);
    characters("5");
    session->onCharacter(38);
    session->onRemoteMessage(kMsgRemoteMute);
    session->onRemoteMessage(kMsgRemotePreviousChannel);
    using P = RemoteKeypad::PassedOn;
    EXPECT_EQ(k.passedOn(), (std::vector<P>{{platform::WM_CHAR, '5'}, {platform::WM_CHAR, 38},
                                            {kMsgRemoteMute, 0}, {kMsgRemotePreviousChannel, 0}}));
    EXPECT_EQ(session->tvChannel(), 9);
    EXPECT_FALSE(session->muted());
    EXPECT_FALSE(session->numericEntryActive());
    EXPECT_TRUE(viewerSide.steps.empty());
    EXPECT_EQ(k.view().channelNumber, 9);
}

}  // namespace
}  // namespace kelto::viewer::test
