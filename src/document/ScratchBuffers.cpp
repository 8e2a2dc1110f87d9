#include "document/ScratchBuffers.h"

namespace quorvel::scratch {

namespace {
alignas(64) thread_local uint8_t buffer1[kBytes];
alignas(64) thread_local uint8_t buffer2[kBytes];
} // namespace

uint8_t* Buffer1() { return buffer1; }
uint8_t* Buffer2() { return buffer2; }

} // namespace quorvel::scratch
