// The sample pictures of the further rows, by group (further_files.cpp puts them together).
#pragma once

#include <vector>

#include "samples/further_files.h"

namespace quendra::samples {

void appendRoutedSamples(std::vector<FurtherSample>& all); // further_paint_samples.cpp
void appendPaintSamples(std::vector<FurtherSample>& all);  // further_paint_samples.cpp
void appendFliSamples(std::vector<FurtherSample>& all);    // further_fli_samples.cpp
void appendCharSamples(std::vector<FurtherSample>& all);   // further_char_samples.cpp
void appendUnderlaySamples(std::vector<FurtherSample>& all); // further_underlay_samples.cpp
void appendSpriteSamples(std::vector<FurtherSample>& all);   // further_sprite_samples.cpp

} // namespace quendra::samples
