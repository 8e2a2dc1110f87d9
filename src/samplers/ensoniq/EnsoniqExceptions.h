#pragma once
// Failures of the exchange with an EPS, EPS-16+ or ASR-10 sampler. The
// sampler answers every request with a status; each status it can refuse
// with has its own class.
#include "devices/midi/MIDIExceptions.h"
#include "samplers/SamplerExceptions.h"

namespace quorvel {

QUORVEL_EXCEPTION(XEnsoniqException, XSamplerException);
// The sampler sent its cancel message.
QUORVEL_EXCEPTION(XEnsoniqCancelled, XEnsoniqException);
// A status this program has no meaning for.
QUORVEL_EXCEPTION(XEnsoniqErrorResponse, XEnsoniqException);
// Status 9: the wave to be made is there already.
QUORVEL_EXCEPTION(XEnsoniqWaveInUse, XEnsoniqErrorResponse);
// Status 15: the instrument holds all 127 waves.
QUORVEL_EXCEPTION(XEnsoniqNoMoreWaves, XEnsoniqErrorResponse);
QUORVEL_EXCEPTION(XEnsoniqNotAcknowledged, XEnsoniqException);
// No instrument, layer or wave at the address given.
QUORVEL_EXCEPTION(XEnsoniqInvalidTarget, XEnsoniqException);
QUORVEL_EXCEPTION(XEnsoniqInvalidParameter, XEnsoniqException);
// An answer of another kind or for another address than the one asked.
QUORVEL_EXCEPTION(XEnsoniqUnexpectedResponse, XEnsoniqException);
// The layer has no free wave left for a new one.
QUORVEL_EXCEPTION(XEnsoniqAllWavesUsedUp, XEnsoniqException);
QUORVEL_EXCEPTION(XEnsoniqOutOfMemory, XExternalDeviceOutOfMemory);
// A response, or a parameter block, of the wrong length.
QUORVEL_EXCEPTION(XEnsoniqInvalidSize, XSysexInvalidSize);
QUORVEL_EXCEPTION(XASR10LayerIsNotStereo, XSampleLocationCannotHoldStereo);
QUORVEL_EXCEPTION(XEnsoniqImageCancelled, XBase);

// The instrument could not be made (alert 80 of the instrument table).
QUORVEL_EXCEPTION(XEnsoniqInstrumentNotCreated, XEnsoniqException);
// No instrument name was given (alert 82).
QUORVEL_EXCEPTION(XEnsoniqInstrumentNameMissing, XEnsoniqException);

} // namespace quorvel
