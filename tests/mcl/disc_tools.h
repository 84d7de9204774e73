// The disc authoring tools run on an output, for the tests of the disc
// formats.
#pragma once

#include <cstdint>
#include <filesystem>

namespace mcltest {

// Hands an output of a disc preset to its authoring tool: VCD to vcdimager as
// a VCD 2.0, SVCD to vcdimager as an SVCD, DVD to dvdauthor as a title set
// and then its table of contents. The disc is made in `work`, which must not
// hold one yet. Fails the test on a non-zero exit, on any warning or error
// the tool prints, or on a missing disc.
void ExpectDiscToolTakes(const std::filesystem::path& video, int32_t presetKind, int32_t tv,
                         const std::filesystem::path& work);

}  // namespace mcltest
