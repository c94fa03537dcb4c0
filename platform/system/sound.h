#pragma once
// Playing a wave file, synchronously: decoded by libsndfile (PCM, ADPCM, float and the other
// forms it reads), played through an ALSA device.
#include <string>

namespace qm::sys {

// Plays the file through the default sound device and returns when the sound has ended.
// Returns false at once, and silently, when the file is missing or unreadable or no device
// can be opened; no default sound is played instead.
bool PlayWaveFile(const std::string& path);
// The same on a named ALSA device ("default", "null", "hw:0", ...).
bool PlayWaveFile(const std::string& path, const std::string& device);

} // namespace qm::sys
