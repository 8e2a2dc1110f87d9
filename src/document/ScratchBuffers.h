#pragma once
// The two 16 KB staging buffers of store copies and sound import. One pair
// per thread, so a background loader can never trample the interface
// thread's copy in progress.
#include <cstdint>

namespace quorvel::scratch {

constexpr uint32_t kBytes = 16384;
uint8_t* Buffer1();
uint8_t* Buffer2();

} // namespace quorvel::scratch
