#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// One input for the filter parser, the date and money conversions or the
// OFX reader: the first byte picks the target, the rest is the text (UTF-8). Returns what
// broke a promise of the code under test, empty when nothing did. Shared by
// the libFuzzer target and the bounded run in the regular suite.
QString checkFuzzInput(const uint8_t *data, size_t size);
