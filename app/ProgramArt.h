#pragma once
// The program's pictures, drawn rather than shipped: the icon (a small television set) and the
// about box's picture.
#include <QIcon>
#include <QPixmap>

namespace kelto {

QIcon programIcon();
QPixmap aboutPicture();

}  // namespace kelto
