#include "viewer/window/MinimisedIcon.h"

#include "resources/ArtResource.h"

#include <QPainter>

namespace kelto::viewer {

QRect minimisedIconRect(const QRect& client) {
    const int x = client.x() + (client.width() - kMinimisedIconSide + 1) / 2;
    const int y = client.y() + (client.height() - kMinimisedIconSide + 1) / 2;
    return {x, y, kMinimisedIconSide, kMinimisedIconSide};
}

void paintMinimisedIcon(QPainter& painter, const QRect& client) {
    const QRect place = minimisedIconRect(client);
    painter.drawPixmap(place, iconPixmap(kMinimisedIconId, place.size()));
}

}  // namespace kelto::viewer
