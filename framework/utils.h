#pragma once
// Text and number conversions, random numbers, and opening addresses.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fw {

class RandomEngine;

// Plain decimal digits.
std::string Str(std::int64_t value);
inline std::string Str(int value) { return Str(static_cast<std::int64_t>(value)); }
// A whole value prints as plain digits ("8" for 8.0); others with up to 15
// significant digits.
std::string Str(double value);

// The number at the start of a text (blanks before it skipped): sign, digits,
// fraction and exponent; 0 when there is none.
double Val(const std::string& text);

// The pieces between separators, in order; empty pieces are kept, so there is
// always one piece more than there are separators.
std::vector<std::string> Split(const std::string& text, const std::string& separator);

// <0, 0 or >0. Mode 0 compares bytes; mode 1 orders lexicographically (ASCII
// case folded first). Either way 0 means exactly the same characters.
int StrComp(const std::string& a, const std::string& b, int mode);

class Random {
public:
    Random();  // seeded on its own from the random source
    ~Random();
    // low to high, both included.
    std::int32_t InRange(std::int32_t low, std::int32_t high);

private:
    std::unique_ptr<RandomEngine> engine_;
};

// Opens a web or mail address in the desktop's handler.
void ShowURL(const std::string& url);

}  // namespace fw
