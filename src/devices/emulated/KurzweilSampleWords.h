#pragma once
// Sample data of the emulated Kurzweil sampler travels by the Sample Dump
// Standard over MIDI and by SMDI over SCSI but is kept once, in SMDI form
// (big-endian two's-complement words of whole bytes, the bits left-justified).
// These turn one form into the other without losing a bit of the word.
#include "devices/emulated/SDSSample.h"
#include "devices/emulated/SMDISample.h"

namespace quorvel {

// A mono sample of `format` bits; the dump header's loop type becomes the
// loop control unchanged (00 forward, 01 alternating, anything else off).
SSMDISample SMDIFromSDS(const SSDSSample& dump);
// The first channel of `sample`, as a dump of `sample.bits` bits (8 to 28)
// numbered `number`.
SSDSSample SDSFromSMDI(const SSMDISample& sample, uint16_t number);

} // namespace quorvel
