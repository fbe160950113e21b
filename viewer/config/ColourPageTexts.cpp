#include "viewer/config/ColourPageTexts.h"

#include <array>
#include <map>

namespace kelto::viewer::config {

namespace {

// English, Japanese, Korean, Chinese (the order of UiLanguage).
using Texts = std::array<const char*, 4>;

const std::map<int, Texts>& tips() {
    static const std::map<int, Texts> table = {
        {1032, {"Brightness of the picture", "画面の明るさ", "화면 밝기", "画面亮度"}},
        {1033, {"Contrast of the picture", "画面のコントラスト", "화면 대비", "画面对比度"}},
        {1034, {"Hue of the picture", "画面の色合い", "화면 색조", "画面色调"}},
        {1035, {"Colour saturation of the picture", "画面の色の濃さ", "화면 채도", "画面色彩饱和度"}},
        {1104, {"All four levels back to the middle (64)", "4 つの値をすべて中央 (64) に戻します",
                "네 값을 모두 가운데(64)로 되돌립니다", "四个值全部恢复到中间值 (64)"}},
        {1124, {"The levels as they were when the page opened", "このページを開いたときの値に戻します",
                "이 페이지를 열 때의 값으로 되돌립니다", "恢复到打开此页时的值"}},
        {1223, {"The mixer line the volume keys control", "音量キーで調整するミキサーのライン",
                "볼륨 키로 조절할 믹서 라인", "音量键控制的混音器线路"}},
        {1113, {"Show the tips over the control panel", "操作パネルのヒントを表示します",
                "조작 패널의 도움말을 표시합니다", "显示控制面板的提示"}},
        {1109, {"Red of the on-screen display colour", "画面表示の色の赤", "화면 표시 색상의 빨강", "屏幕显示颜色的红色"}},
        {1108, {"Green of the on-screen display colour", "画面表示の色の緑", "화면 표시 색상의 초록", "屏幕显示颜色的绿色"}},
        {1107, {"Blue of the on-screen display colour", "画面表示の色の青", "화면 표시 색상의 파랑", "屏幕显示颜色的蓝色"}},
        {1110, {"The on-screen display colour", "画面表示の色", "화면 표시 색상", "屏幕显示颜色"}},
        {1111, {"Yellow, the factory colour", "出荷時の色 (黄色) に戻します", "출고 시 색상(노랑)으로 되돌립니다",
                "恢复出厂颜色 (黄色)"}},
        {1125, {"The colour as it was when the page opened", "このページを開いたときの色に戻します",
                "이 페이지를 열 때의 색상으로 되돌립니다", "恢复到打开此页时的颜色"}},
    };
    return table;
}

}  // namespace

std::string colourPageTip(UiLanguage language, int controlId) {
    const auto it = tips().find(controlId);
    return it == tips().end() ? std::string() : it->second[std::size_t(language)];
}

std::string openedColourGroupTitle(UiLanguage language) {
    static constexpr Texts titles = {"OSD Color", "OSD の色", "OSD 색상", "OSD 颜色"};
    return titles[std::size_t(language)];
}

}  // namespace kelto::viewer::config
