#include "StartupHooks.h"

namespace quorvel::gui {

void InitialiseViewResources() {}
void ShowSplashScreen() {}
void CloseSplashScreen() {}
bool RegisterMidiPorts() { return false; }
bool InitialiseScsiBuses() { return false; }
void ReadPreferences() {}
void VerifyInstalledSamplers() {}
void WritePreferences() {}

} // namespace quorvel::gui
