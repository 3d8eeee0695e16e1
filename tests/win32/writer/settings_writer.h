// The settings the kill test's writer writes, shared by the writer and the test that kills it.
#pragma once

#include <array>
#include <string>

namespace quorelle::writer {

// Single keys of CPL.ini, each "section/key".
inline constexpr std::array<const char*, 12> kCplKeys = {
    "CPL/language",     "CPL/HeadPhone",  "CPL/DigitalOutSr",  "Hifi/isDrySoundOn",
    "Hifi/RegionStyle", "Hifi/EQPreset",  "Hifi/Treble",       "Hifi/Bass",
    "Hifi/ENVEnable",   "HP/SurroundMax", "Ad/AudioBrilliant", "Hifi/InitialButtonOn"};

// The band keys the HIFI page writes on every slider step (section Hifi of CPL.ini), and the ten
// band keys of a preset in Custom.ini (one section per preset).
inline std::string BandKey(int band) {
    return "eq_" + std::to_string(band);
}
inline constexpr int kPresets = 4;
inline std::string PresetSection(int preset) {
    return "Preset " + std::to_string(preset);
}

// Each write that returned is reported on standard output as one line:
// "file|section|key|value\n"; every value is the writer's running write number.

}  // namespace quorelle::writer
