#pragma once
// The views and windows read the application's settings from here.
#include "document/ApplicationSettings.h"
