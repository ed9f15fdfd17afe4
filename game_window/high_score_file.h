#pragma once
// The high-score file "plovt.txt" in the user's application-data folder: the
// high score in decimal on its first line. It is the only state kept between
// runs.

#include <optional>
#include <string>

inline constexpr const char* kHighScoreFile = "plovt.txt";
inline constexpr const char* kDefaultHighScore = "20";

// Replaces the file whole with `text` on one line and hides it. When that
// cannot be done the player is told, and false is returned; the old file, if
// any, is left as it was.
bool WriteHighScore(const std::string& text);

// The file's first line; nullopt when there is no file. When the file is there
// but cannot be read the player is told, and nullopt is returned too.
struct StoredHighScore {
    bool exists = false;             // false: the file has to be made
    std::optional<std::string> line; // the first line, when it could be read
};
StoredHighScore ReadHighScore();

// The file's first line as it is now, for a score about to be replaced:
// another copy of the game may have stored a higher one since this one read
// it. Quiet: nullopt when there is no file or it cannot be read.
std::optional<std::string> RereadHighScore();
