#pragma once
// The viewer's volume object: the speaker output of the system mixer and, by choice, one of its
// source lines, with get/set of volume and mute. It works through the first of the program-wide
// mixer objects (MixerLibs()[0]).
//
// Lines are numbered as the user picks them: 0 is the master output (the speaker destination
// itself), n >= 1 the n-th source line that has a volume control.
//
// Change notifications: while open, the mixer sends the line-change (0x3D0) and control-change
// (0x3D1) messages to the window given to Open. The owner watches PollDescriptors() and calls
// DispatchPending() on the user-interface thread when one is readable; the messages arrive there.
// Open and SelectLine bind a new handle, so the owner fetches the descriptors again after them.
//
// Every call comes from the user-interface thread; on a closed object every operation does nothing.
#include "mixer/CMixerLib.h"

#include <string>
#include <vector>

namespace kelto::mixer {

class CMixerVolume {
public:
    // mixer: the object to work through; by default the first program-wide one.
    explicit CMixerVolume(CMixerLib& mixer = MixerLibs()[0]);
    ~CMixerVolume();
    CMixerVolume(const CMixerVolume&) = delete;
    CMixerVolume& operator=(const CMixerVolume&) = delete;

    // Binds the master output if not yet open, with window as the target of change messages;
    // returns (and remembers) whether the mixer opened.
    bool Open(pm::MixerNotificationTarget* window);
    // Closes the mixer object when it is open.
    void Close();
    bool IsOpen() const { return m_mixer.IsOpen(); }
    // What the last Open returned.
    bool GetOpenResult() const { return m_openResult; }

    // 0 when the speaker output has no source line with a volume control, otherwise that number
    // + 1 (the master output first).
    int GetLineCount() const;
    // Full name of the selected line ("" when closed).
    std::string GetLineName() const;
    // Names of every selectable line in line order (empty when closed or GetLineCount() is 0).
    std::vector<std::string> GetLineNames();
    // Closes, then binds line n (0 the master output). False when the binding failed (the mixer
    // is closed then) or when n is no line of the list (nothing changes then).
    bool SelectLine(int n);
    // The selected line as SelectLine numbers it (0 the master output).
    int GetSelectedLine() const { return m_selectedLine + 1; }

    std::uint32_t GetMaximum() const { return m_mixer.GetMaximum(); }
    std::uint32_t GetMinimum() const { return m_mixer.GetMinimum(); }
    // The line's level (the louder channel); 0 when nothing is bound.
    std::uint32_t GetVolume();
    // Writes the level keeping the balance; false when nothing is bound (a failed write is not reported).
    bool SetVolume(std::uint32_t value);
    // True when the line's mute switch is bound and on.
    bool GetMute();
    // Writes value to the mute switch; false when none is bound or the write failed.
    bool SetMute(std::uint32_t value);

    std::vector<pollfd> PollDescriptors() const;
    void DispatchPending();

private:
    CMixerLib& m_mixer;
    int m_selectedLine = -1;  // -1 the destination itself, otherwise the index into the source list
    bool m_openResult = false;
    pm::MixerNotificationTarget* m_window = nullptr;
};

}  // namespace kelto::mixer
