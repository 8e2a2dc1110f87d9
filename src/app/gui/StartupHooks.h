#pragma once
// The start-up and shut-down steps of subsystems that are not built yet.
// Each is called at its place in the order and does nothing for now; the
// ones that report availability answer "not available".
namespace quorvel::gui {

// Views, the sound document's defaults and the waveform views' shared
// drawing resources.
void InitialiseViewResources();
// The palette and the splash screen shown while the devices are found.
void ShowSplashScreen();
void CloseSplashScreen();

} // namespace quorvel::gui
