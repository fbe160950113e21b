#pragma once
// Where the on-screen display sits over the picture and how large its text is, without widgets:
// the picture's width chooses the display's height and font height; the display spans the
// picture's width at its top or bottom edge; the text keeps a margin on the left and right.
namespace kelto::viewer {

struct OsdRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const OsdRect&) const = default;
};

// Horizontal alignment of the text, by the codes the viewer's callers use (0 left, 1 centred,
// 2 right).
enum class OsdAlign { Left = 0, Centre = 1, Right = 2 };
// Vertical position of the display: 0 at the picture's top edge, 1 with its bottom on the picture's.
enum class OsdEdge { Top = 0, Bottom = 1 };

struct OsdSize {
    int heightPx;  // the display's height
    int fontPx;    // the font's cell height (ascent + descent)
    bool operator==(const OsdSize&) const = default;
};

// The size table: up to 320 pixels 30/20, up to 380 35/25, up to 480 40/30, up to 800 60/40,
// up to 1024 80/50, above 100/60.
OsdSize osdSizeForPictureWidth(int pictureWidthPx);

struct OsdLayout {
    OsdRect display;  // in the picture's coordinates
    OsdRect text;     // in the display's own coordinates
    int fontPx = 0;
};

// The display over `picture` (given in its parent's coordinates; the display rectangle comes out
// in the same coordinates): the picture's width, at its top or bottom edge; the text rectangle is
// the display less `marginPx` on either side (never narrower than nothing).
OsdLayout layoutOsd(const OsdRect& picture, OsdEdge edge, int marginPx);

}  // namespace kelto::viewer
