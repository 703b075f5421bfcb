// Builders of the further C64 formats' files from their parts (the test fixtures, fuzz
// seeds and sample pictures of further_readers.h), and the sample pictures of their rows.
#pragma once

#include <string>
#include <vector>

#include "decode/escape_runs.h"
#include "samples/c64_files.h"
#include "samples/fli_files.h"

namespace quendra::samples {

// Escape-stream data that `stream` unpacks to `data`: runs of four or more, and every
// escape byte, as `escape count value` tokens (count + 1 for RunCount::plusOne); read
// forwards, or for `backward` stored to be read from the last byte down.
ByteVector escapeRuns(std::span<const std::uint8_t> data, std::uint8_t escape, RunCount count,
                      bool backward = false);

// `length` bytes of zeros with `loadAddress` in front (none when length is the data's).
ByteVector zeroFile(std::size_t length, std::uint16_t loadAddress);
void putBytes(ByteVector& file, std::size_t offset, std::span<const std::uint8_t> bytes);

// The eight screens of an FLI frame at `offset`, 1024 bytes apart, and its bitmap.
void putScreens(ByteVector& file, std::size_t offset, const FliLayer& layer);

// The XE Koala packer (Micro Illustrator): runs of four or more as `n value` (n < 128; 0
// and a 16-bit count for longer ones), the rest as literal groups `128 + n` and n bytes.
ByteVector xeKoalaRuns(const ByteVector& data);
// The VHI packer: runs as `01 n v`, the rest as `00 n` and n literals (n = 0 meaning 256).
ByteVector vhiRuns(const ByteVector& data);
// Micro Illustrator: type 0 (plain, 10022 bytes) or type 1 (packed, column order).
ByteVector makeMicroIllustrator(const CellPicture& p, bool packed);

struct FurtherSample {
    std::string name; // the name its registry row's `samples` gives
    ByteVector bytes;
    int width, height; // of the picture it shows
};

// The samples of the further rows (quendra-samples finds them by the names the rows give).
std::vector<FurtherSample> furtherSamples();

} // namespace quendra::samples
