#include "viewer/window/ViewerGeometry.h"

#include "viewer/panel/PanelLayout.h"

namespace kelto::viewer {

QRect openingRect(const QRect& saved, bool fullScreen, const QSize& screen) {
    const bool onScreen = saved.x() < screen.width() - kScreenEdgeMarginPx &&
                          saved.y() < screen.height() - kScreenEdgeMarginPx && saved.width() > 0 &&
                          saved.height() > 0;
    if (onScreen && !fullScreen) return saved;
    return QRect(screen.width() / 4, screen.height() / 4, kDefaultWidth, kDefaultHeight);
}

QSize fourThreeSize(const QSize& before, const QSize& proposed, SizingEdge edge, bool panelVisible) {
    if (proposed == before) return proposed;
    const int panel = panelVisible ? kPanelHeight : 0;
    if (edge == SizingEdge::Top || edge == SizingEdge::Bottom)
        return QSize((proposed.height() - panel) * 4 / 3, proposed.height());
    return QSize(proposed.width(), proposed.width() * 3 / 4 + panel);
}

QRect sizedRect(const QRect& before, const QRect& proposed, SizingEdge edge, bool panelVisible) {
    const QSize size = fourThreeSize(before.size(), proposed.size(), edge, panelVisible);
    QRect result(proposed.topLeft(), size);
    const bool anchorRight = edge == SizingEdge::Left || edge == SizingEdge::TopLeft || edge == SizingEdge::BottomLeft;
    const bool anchorBottom = edge == SizingEdge::Top || edge == SizingEdge::TopLeft || edge == SizingEdge::TopRight;
    if (anchorRight) result.moveRight(before.right());
    if (anchorBottom) result.moveBottom(before.bottom());
    return result;
}

TrackingLimits trackingLimits(bool panelVisible, bool companionOpen, bool captureSheetOpen, const QSize& screen) {
    if (panelVisible && !companionOpen) return {QSize(160, 180), QSize(screen.width(), screen.height() + kPanelHeight)};
    if (!captureSheetOpen) return {QSize(160, 120), screen};
    return {QSize(80, 60), screen};
}

}  // namespace kelto::viewer
