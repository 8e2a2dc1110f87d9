#pragma once
// Failures of the file layer. Stream failures (XRead, XWrite, XPosition)
// belong to the media streams and are declared with them.
#include "framework/XBase.h"

namespace quorvel {

QUORVEL_EXCEPTION(XFile, XBase);
QUORVEL_EXCEPTION(XCreateFailed, XFile);
QUORVEL_EXCEPTION(XFileNotFound, XFile);

} // namespace quorvel
