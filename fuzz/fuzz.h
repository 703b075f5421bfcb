// The two functions every fuzz target defines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Seed inputs built from the fixtures; written to the corpus folder by the replay program.
std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds();
