#include "framework/utils.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <utility>

#include "framework/production.h"
#include "framework/seam.h"

namespace fw {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Sign(int v) { return (v > 0) - (v < 0); }

unsigned char FoldAscii(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// Compares bytes as unsigned values, optionally with ASCII letters folded.
int CompareBytes(const std::string& a, const std::string& b, bool fold) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (fold) {
            x = FoldAscii(x);
            y = FoldAscii(y);
        }
        if (x != y) return x < y ? -1 : 1;
    }
    return Sign(static_cast<int>(a.size() > b.size()) - static_cast<int>(a.size() < b.size()));
}

}  // namespace

std::string Str(std::int64_t value) { return std::to_string(value); }

std::string Str(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == std::trunc(value) && std::fabs(value) < 1e15) {
        return Str(static_cast<std::int64_t>(value));  // -0.0 prints "0"
    }
    // Like "%.15g", but never with the locale's decimal comma.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

double Val(const std::string& text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && (*p == ' ' || *p == '\t')) ++p;

    // Scan the longest prefix that is a decimal number.
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* const numberStart = p;  // after the sign: from_chars takes no '+'
    const char* q = p;
    std::size_t intDigits = 0, fracDigits = 0;
    while (q < end && IsDigit(*q)) ++q, ++intDigits;
    if (q < end && *q == '.') {
        const char* f = q + 1;
        while (f < end && IsDigit(*f)) ++f, ++fracDigits;
        if (intDigits + fracDigits > 0) q = f;
    }
    if (intDigits + fracDigits == 0) return 0.0;
    const char* const mantissaEnd = q;
    long exponent = 0;
    if (q < end && (*q == 'e' || *q == 'E')) {
        const char* e = q + 1;
        bool expNegative = false;
        if (e < end && (*e == '+' || *e == '-')) expNegative = *e++ == '-';
        if (e < end && IsDigit(*e)) {
            while (e < end && IsDigit(*e)) {
                if (exponent < 100000) exponent = exponent * 10 + (*e - '0');
                ++e;
            }
            if (expNegative) exponent = -exponent;
            q = e;
        }
    }

    double value = 0.0;
    const auto result = std::from_chars(numberStart, q, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: infinity or zero, by where the
        // first significant digit stands. The number is about 10^(magnitude +
        // exponent - 1); out of range it is far from 10^0 either way.
        const char* const intEnd = numberStart + intDigits;
        const char* const fracStart = intDigits < static_cast<std::size_t>(mantissaEnd - numberStart)
                                          ? intEnd + 1 : mantissaEnd;
        long magnitude = 0;
        bool found = false;
        for (const char* d = numberStart; d < intEnd && !found; ++d) {
            if (*d != '0') {
                magnitude = intEnd - d;
                found = true;
            }
        }
        for (const char* d = fracStart; d < mantissaEnd && !found; ++d) {
            if (*d != '0') {
                magnitude = -(d - fracStart);
                found = true;
            }
        }
        value = found && magnitude + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// Mode 0 compares bytes (unsigned). Any other mode is mode 1: ASCII case folded
// first, then, for texts equal but for case, bytes decide, so 0 still means
// identical texts.
int StrComp(const std::string& a, const std::string& b, int mode) {
    if (mode != 0) {
        const int folded = CompareBytes(a, b, true);
        if (folded != 0) return folded;
    }
    return CompareBytes(a, b, false);
}

Random::Random() : engine_(CurrentSeam().random->NewEngine()) {}

Random::~Random() = default;

// low > high is taken as the same range with its ends swapped.
std::int32_t Random::InRange(std::int32_t low, std::int32_t high) {
    if (low > high) std::swap(low, high);
    return engine_->InRange(low, high);
}

void ShowURL(const std::string& url) { CurrentSeam().urls->Open(url); }

namespace production {

namespace {

class EntropyEngine : public RandomEngine {
public:
    EntropyEngine() {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(),
                           device(), device(), device(), device()};
        generator_.seed(seed);
    }

    std::int32_t InRange(std::int32_t low, std::int32_t high) override {
        if (low > high) std::swap(low, high);
        return std::uniform_int_distribution<std::int32_t>(low, high)(generator_);
    }

private:
    std::mt19937 generator_;
};

class EntropySource : public RandomSource {
public:
    std::unique_ptr<RandomEngine> NewEngine() override { return std::make_unique<EntropyEngine>(); }
};

// Whether the text starts with a scheme ("mailto:", "https://"), as opposed to
// "host:8080" or a bare host name.
bool HasScheme(const std::string& url) {
    std::size_t i = 0;
    while (i < url.size() && (url[i] == ' ' || url[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i >= url.size() || !std::isalpha(static_cast<unsigned char>(url[i]))) return false;
    while (i < url.size() && (std::isalnum(static_cast<unsigned char>(url[i])) || url[i] == '+' ||
                              url[i] == '-' || url[i] == '.'))
        ++i;
    if (i >= url.size() || url[i] != ':' || i == start) return false;
    // "host:8080" or "host:8080/path" is a host and a port.
    std::size_t j = i + 1;
    while (j < url.size() && IsDigit(url[j])) ++j;
    return !(j > i + 1 && (j == url.size() || url[j] == '/'));
}

class DesktopUrlOpener : public UrlOpener {
public:
    void Open(const std::string& url) override {
        const QString text = QString::fromStdString(url).trimmed();
        const QUrl target = HasScheme(url) ? QUrl(text, QUrl::TolerantMode) : QUrl::fromUserInput(text);
        if (target.isValid()) QDesktopServices::openUrl(target);
    }
};

}  // namespace

RandomSource& Entropy() {
    static EntropySource source;
    return source;
}

UrlOpener& DesktopUrls() {
    static DesktopUrlOpener opener;
    return opener;
}

}  // namespace production

}  // namespace fw
