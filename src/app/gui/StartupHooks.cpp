#include "StartupHooks.h"

namespace quorvel::gui {

void InitialiseViewResources() {}
void ShowSplashScreen() {}
void CloseSplashScreen() {}
bool RegisterSoundCards() { return false; }
bool RegisterMidiPorts() { return false; }
bool InitialiseScsiBuses() { return false; }
void ReadPreferences() {}
void VerifyInstalledSamplers() {}
void StopPlayback() {}
void WritePreferences() {}

} // namespace quorvel::gui
