#pragma once
// A short test film made at run time with ffmpeg: a moving test pattern in MPEG-4 video.

#include <cstdlib>
#include <string>

// Writes a film of width by height pixels and seconds length to path; true when ffmpeg made
// it. The extension does not matter to the player, so it may be the intro's ".nox".
inline bool MakeTestFilm(const std::string& path, int width, int height, double seconds) {
    const std::string command
        = "ffmpeg -loglevel error -y -f lavfi -i testsrc=size=" + std::to_string(width) + "x"
          + std::to_string(height) + ":rate=25 -t " + std::to_string(seconds)
          + " -c:v mpeg4 -f mp4 '" + path + "' </dev/null";
    return std::system(command.c_str()) == 0;
}
