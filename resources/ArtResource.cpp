#include "resources/ArtResource.h"

#include "platform/EmbeddedFile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace kelto::art {
extern const kelto::EmbeddedFile kEmbedded[];
extern const std::size_t kEmbeddedCount;
}  // namespace kelto::art

namespace kelto {
namespace {

// The art files are named "<kind>-<number>.svg": bitmap, cursor or icon.
const EmbeddedFile* findArt(std::string_view kind, int id) {
    const std::string name = std::string(kind) + "-" + std::to_string(id) + ".svg";
    for (std::size_t i = 0; i < art::kEmbeddedCount; ++i)
        if (name == art::kEmbedded[i].name) return &art::kEmbedded[i];
    return nullptr;
}

std::vector<int> idsOfKind(std::string_view kind) {
    std::vector<int> ids;
    const std::string prefix = std::string(kind) + "-";
    for (std::size_t i = 0; i < art::kEmbeddedCount; ++i) {
        std::string_view name = art::kEmbedded[i].name;
        if (!name.starts_with(prefix) || !name.ends_with(".svg")) continue;
        name = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        int id = 0;
        auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
        if (error == std::errc{} && end == name.data() + name.size()) ids.push_back(id);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Renders the SVG at `size` (its own size when empty) onto a transparent image.
QImage render(const EmbeddedFile* file, QSize size = {}) {
    if (!file) return {};
    QSvgRenderer renderer(QByteArray::fromRawData(reinterpret_cast<const char*>(file->data),
                                                  static_cast<qsizetype>(file->size)));
    if (!renderer.isValid()) return {};
    if (size.isEmpty()) size = renderer.defaultSize();
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

QHash<int, QImage>& imageCache(std::string_view kind) {
    static QHash<int, QImage> bitmaps, cursors;
    return kind == "cursor" ? cursors : bitmaps;
}

QImage cachedImage(std::string_view kind, int id) {
    QHash<int, QImage>& cache = imageCache(kind);
    auto it = cache.constFind(id);
    if (it != cache.constEnd()) return *it;
    QImage image = render(findArt(kind, id));
    cache.insert(id, image);
    return image;
}

}  // namespace

QImage bitmapImage(int id) { return cachedImage("bitmap", id); }

namespace {

QHash<int, QPixmap>& pixmapCache() {
    static QHash<int, QPixmap> pixmaps;
    return pixmaps;
}

// Pixmaps belong to the application object: they are let go when it ends, not at exit.
void releasePixmaps() { pixmapCache().clear(); }

}  // namespace

QPixmap bitmapResource(int id) {
    QHash<int, QPixmap>& pixmaps = pixmapCache();
    if (pixmaps.isEmpty()) qAddPostRoutine(releasePixmaps);
    auto it = pixmaps.constFind(id);
    if (it != pixmaps.constEnd()) return *it;
    QPixmap pixmap = QPixmap::fromImage(bitmapImage(id));
    pixmaps.insert(id, pixmap);
    return pixmap;
}

QPixmap iconPixmap(int id, QSize size) {
    return QPixmap::fromImage(render(findArt("icon", id), size));
}

QIcon iconResource(int id) {
    if (!findArt("icon", id)) return {};
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(iconPixmap(id, QSize(side, side)));
    return icon;
}

bool hasCursorResource(int id) { return findArt("cursor", id) != nullptr; }

QImage cursorImage(int id) { return cachedImage("cursor", id); }

QPoint cursorHotSpot(int id) {
    // The arrow points with its tip; the sizing and moving cursors act at their centre.
    if (id == 227) return {4, 3};
    return {16, 16};
}

QCursor cursorResource(int id) {
    if (!hasCursorResource(id)) return QCursor(Qt::ArrowCursor);
    const QPoint hot = cursorHotSpot(id);
    return QCursor(QPixmap::fromImage(cursorImage(id)), hot.x(), hot.y());
}

std::vector<int> bitmapResourceIds() { return idsOfKind("bitmap"); }
std::vector<int> cursorResourceIds() { return idsOfKind("cursor"); }
std::vector<int> iconResourceIds() { return idsOfKind("icon"); }

}  // namespace kelto
