#include "viewer/config/InfoText.h"

#include <array>

namespace kelto::viewer::config {

namespace {

// Lines beginning "* " are the feature list; the first text line is the title.
const std::vector<std::string>& englishLines() {
    static const std::vector<std::string> lines = {
        "BITMAP1^",
        "Kelto TV",
        "Copyright (C) Vezidov Electronics Co., Ltd.",
        "All rights reserved.",
        " ",
        "* TV, cable TV, composite video and S-Video inputs",
        "BITMAP2^",
        "* Multi-screen view of up to 16 channels at once",
        "BITMAP3^",
        "* On-screen and external remote control",
        "* Automatic channel search with fine tuning",
        "BITMAP4^",
        "* Still and motion capture, and TV on the desktop",
        "* On-screen display in the colour of your choice",
        " ",
        "We answer every question about Kelto TV",
        "within two working days, free of charge.",
        " ",
        "Vezidov Electronics Co., Ltd. - Customer Support",
        "4-12 Harbour Lane, Port Elsby 40210",
        "Tel. +1 555 0142",
        "",
    };
    return lines;
}

const std::vector<std::string>& japaneseLines() {
    static const std::vector<std::string> lines = {
        "BITMAP1^",
        "ケルトTV",
        "Copyright (C) ヴェジドフ電子株式会社",
        "無断複写・転載を禁じます。",
        " ",
        "* TV、CATV、コンポジット映像、S 映像入力",
        "BITMAP2^",
        "* 最大 16 チャンネルのマルチ画面表示",
        "BITMAP3^",
        "* 画面上のリモコンと外部リモコン操作",
        "* 微調整付きの自動チャンネル検索",
        "BITMAP4^",
        "* 静止画・動画のキャプチャとデスクトップ TV",
        "* 画面表示の色を自由に変更",
        " ",
        "ケルトTV についてのご質問には",
        "2 営業日以内に無料でお答えします。",
        " ",
        "ヴェジドフ電子株式会社 サポートセンター",
        "4-12 Harbour Lane, Port Elsby 40210",
        "電話 +1 555 0142",
        "",
    };
    return lines;
}

const std::vector<std::string>& koreanLines() {
    static const std::vector<std::string> lines = {
        "BITMAP1^",
        "켈토 TV",
        "Copyright (C) 베지도프 전자 주식회사",
        "모든 권리 보유.",
        " ",
        "* TV, 케이블 TV, 컴포지트 비디오, S-비디오 입력",
        "BITMAP2^",
        "* 최대 16개 채널을 한 번에 보는 멀티 화면",
        "BITMAP3^",
        "* 화면 리모컨과 외부 리모컨 조작",
        "* 미세 조정이 되는 자동 채널 검색",
        "BITMAP4^",
        "* 정지 화상과 동영상 캡처, 바탕 화면 TV",
        "* 원하는 색으로 바꾸는 화면 표시",
        " ",
        "켈토 TV에 관한 모든 문의에",
        "2 영업일 이내에 무료로 답해 드립니다.",
        " ",
        "베지도프 전자 주식회사 고객 지원",
        "4-12 Harbour Lane, Port Elsby 40210",
        "전화 +1 555 0142",
        "",
    };
    return lines;
}

const std::vector<std::string>& chineseLines() {
    static const std::vector<std::string> lines = {
        "BITMAP1^",
        "凯尔托电视",
        "Copyright (C) 维齐多夫电子有限公司",
        "保留所有权利。",
        " ",
        "* 电视、有线电视、复合视频和 S 端子输入",
        "BITMAP2^",
        "* 多画面同时观看最多 16 个频道",
        "BITMAP3^",
        "* 屏幕遥控器和外部遥控器操作",
        "* 带微调的自动频道搜索",
        "BITMAP4^",
        "* 静态图像和视频捕获，桌面电视",
        "* 屏幕显示颜色随心更改",
        " ",
        "关于凯尔托电视的任何问题",
        "我们在两个工作日内免费答复。",
        " ",
        "维齐多夫电子有限公司 客户服务部",
        "4-12 Harbour Lane, Port Elsby 40210",
        "电话 +1 555 0142",
        "",
    };
    return lines;
}

constexpr std::array kNativeLanguages = {UiLanguage::Japanese, UiLanguage::Korean, UiLanguage::ChineseSimplified};

}  // namespace

std::string_view nativeProductName(UiLanguage language) {
    switch (language) {
    case UiLanguage::Japanese: return "ケルトTV";
    case UiLanguage::Korean: return "켈토 TV";
    case UiLanguage::ChineseSimplified: return "凯尔托电视";
    case UiLanguage::EnglishUS: break;
    }
    return "Kelto TV";
}

std::vector<std::string> infoLines(UiLanguage language) {
    switch (language) {
    case UiLanguage::Japanese: return japaneseLines();
    case UiLanguage::Korean: return koreanLines();
    case UiLanguage::ChineseSimplified: return chineseLines();
    case UiLanguage::EnglishUS: break;
    }
    return englishLines();
}

std::vector<std::string> infoLinesForProductName(std::string_view productName) {
    for (UiLanguage language : kNativeLanguages)
        if (productName == nativeProductName(language)) return infoLines(language);
    return englishLines();
}

}  // namespace kelto::viewer::config
