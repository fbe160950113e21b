#pragma once
// The program's artwork by resource number: the panel strip backgrounds (163, 164, 165), the
// panel's pressed and lit button images (1 to 14), the TV-frame pieces (202 to 209), the program
// icon (128) and the cursors (227, 228, 235, 236, 237, 239). The pictures are SVG files under
// resources/art, built into the program and rendered with Qt SVG at their own pixel size.
//
// Rendered pictures are kept, so a lookup after the first costs a hash lookup. Use these on the
// user-interface thread only (QPixmap and QCursor belong to it).
#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>

#include <vector>

namespace kelto {

// The picture of bitmap resource `id` at its own size, with transparency where the art has
// none; a null pixmap when there is no such bitmap.
QPixmap bitmapResource(int id);
// The same as an image (usable where no pixmap may be made, for example in pixel checks).
QImage bitmapImage(int id);

// Icon `id` (128 is the program's), rendered sharp at the usual icon sizes; null when unknown.
QIcon iconResource(int id);
// Icon `id` rendered at one size (the picture the window paints while minimised).
QPixmap iconPixmap(int id, QSize size);

// Cursor `id` with its hot spot; the arrow cursor when there is no such cursor.
QCursor cursorResource(int id);
// Whether cursor `id` exists, its picture and its hot spot (for checks and previews).
bool hasCursorResource(int id);
QImage cursorImage(int id);
QPoint cursorHotSpot(int id);

// The resource numbers the art provides, ascending.
std::vector<int> bitmapResourceIds();
std::vector<int> cursorResourceIds();
std::vector<int> iconResourceIds();

}  // namespace kelto
