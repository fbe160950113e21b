#pragma once
// Opens the viewer window for the tray agent: the agent is the viewer's host (its window system,
// the sibling programs, the receiving window, the about box, the reservation list).
namespace kelto {

class CTrayAgentDlg;
class ViewerWindow;

// The viewer, or null when it could not be made.
ViewerWindow* openTvViewer(CTrayAgentDlg& agent);

}  // namespace kelto
