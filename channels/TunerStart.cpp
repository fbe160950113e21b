#include "channels/TunerStart.h"

namespace kelto {

TunerStartResult startTunerController(CTunerController& controller, ChannelModel& model, int countryCode,
                                      std::string_view countryFile, RiscAudio riscAudio) {
    TunerStartResult result;
    result.videoDriverLoaded = controller.LoadBtVid() == 1;
    if (riscAudio == RiscAudio::SwitchOff) controller.SetRiscAudioFlag(0);
    result.hardwareLibraryLoaded = controller.LoadRurorizi() == 1;
    model.ReadTunerConfig(controller, countryCode, countryFile);
    controller.Open();
    return result;
}

void releaseTunerController(CTunerController& controller) {
    controller.Close();
    controller.UnloadRurorizi();
    controller.UnloadBtVid();
}

}  // namespace kelto
