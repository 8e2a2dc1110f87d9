#include "StartupHooks.h"

namespace quorvel::gui {

void InitialiseViewResources() {}
void ShowSplashScreen() {}
void CloseSplashScreen() {}
bool InitialiseScsiBuses() { return false; }
void VerifyInstalledSamplers() {}

} // namespace quorvel::gui
