// "CD tracks" are audio files in the game folder: trackNN.ogg, .mp3, .flac or .wav (any number
// of digits, any letter case), in the folder "cd" or in the game folder itself. The disc has as
// many tracks as the highest number found, so a game whose tracks start at 2 still plays track 5
// as track 5; a number without a file of its own is a track that plays silence.
#pragma once

#include <filesystem>
#include <map>

namespace orv {

// Track number to file; a file in "cd" wins over one of the same number beside the scenario,
// and within a folder the first extension of the list above wins.
std::map<int, std::filesystem::path> findCdTracks(const std::filesystem::path& gameDir);

} // namespace orv
