#include "StartupHooks.h"

namespace quorvel::gui {

void InitialiseViewResources() {}
void ShowSplashScreen() {}
void CloseSplashScreen() {}
void VerifyInstalledSamplers() {}

} // namespace quorvel::gui
