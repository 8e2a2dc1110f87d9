#include "StartupHooks.h"

namespace quorvel::gui {

void InitialiseViewResources() {}
void ShowSplashScreen() {}
void CloseSplashScreen() {}

} // namespace quorvel::gui
