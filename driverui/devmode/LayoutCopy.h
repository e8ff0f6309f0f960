// Copies between devmodes of different layouts: the public part up to the smaller dmSize, the
// private part up to the smaller dmDriverExtra. Byte level, no platform headers.
//
// A devmode is passed as the span of bytes its owner vouches for; every read stays inside both
// that span and the devmode's declared dmSize + dmDriverExtra.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "DevmodeLayout.h"

namespace devmode {

// 0x0400 for a dmSize of 212, 0x0401 for 220, otherwise dmSpecVersion; 0 when the span cannot
// hold the size fields.
std::uint16_t EffectiveVersion(std::span<const std::uint8_t> d);

// dmSize + dmDriverExtra, or 0 when the span cannot hold the size fields.
std::size_t DeclaredSize(std::span<const std::uint8_t> d);

// The devmode's own bytes: the span cut to its declared size. Empty when the span cannot hold
// the size fields or dmSize is smaller than the fields themselves.
std::span<const std::uint8_t> DeclaredBytes(std::span<const std::uint8_t> d);

// Copies source into destination as far as both layouts share: min(dmSize) public bytes, then
// destination keeps its own dmSize, dmDriverExtra and dmDriverVersion and gets its effective
// version as dmSpecVersion; then min(dmDriverExtra) private bytes from after each public part.
// The number of bytes copied; -1 (destination untouched) when either effective version is 0.
int LayoutCopy(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination);

// The input in this driver's full layout: a zeroed 1256-byte devmode of this driver's sizes
// with the input layout-copied into it, so that a short input reads as zeros beyond its end.
// Nothing when the input has no usable header.
std::optional<Buffer> Widen(std::span<const std::uint8_t> input);

// A working devmode handed to a caller whose input devmode may be of a smaller layout: the
// output takes dmSpecVersion and dmSize from whichever of input and working has the smaller
// dmSize, dmDriverVersion and dmDriverExtra from whichever has the smaller dmDriverExtra, then
// gets the layout copy. Without an input the whole working devmode is copied. The bytes
// written, or -1 when the output span cannot take them.
int CopyForCaller(std::span<const std::uint8_t> working, std::span<const std::uint8_t> input,
                  std::span<std::uint8_t> output);

}  // namespace devmode
