#include "packed_code_runs.h"

#include <stdexcept>
#include <string>

namespace tessavine::pgf {
namespace {

constexpr std::string_view kFinalDigits = "abcdefghijklmnopqrstuvwxyz012345";
constexpr std::string_view kLeadingDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZ6789+/";
constexpr char32_t kLargestPackedCode = 0x10FFFF;

class NumberReader {
  public:
    explicit NumberReader(std::string_view text) : text_(text) {}
    bool done() const { return at_ == text_.size(); }

    char32_t next() {
        char32_t value = 0;
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (const std::size_t d = kLeadingDigits.find(c); d != std::string_view::npos) {
                value = value * 32 + static_cast<char32_t>(d);
            } else if (const std::size_t f = kFinalDigits.find(c); f != std::string_view::npos) {
                return value * 32 + static_cast<char32_t>(f);
            } else {
                break;
            }
            if (value > kLargestPackedCode) {
                break;
            }
        }
        throw std::invalid_argument("a packed run list is damaged at character " +
                                    std::to_string(at_));
    }

  private:
    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

std::vector<char32_t> unpackCodeRuns(std::string_view packed) {
    std::vector<char32_t> codes;
    NumberReader reader(packed);
    char32_t next = 0;  // the first code the next run may start at
    while (!reader.done()) {
        const char32_t first = next + reader.next();
        const char32_t last = first + reader.next();
        if (last > kLargestPackedCode) {
            throw std::invalid_argument("a packed run list goes beyond U+10FFFF");
        }
        for (char32_t code = first; code <= last; ++code) {
            codes.push_back(code);
        }
        next = last + 1;
    }
    return codes;
}

}  // namespace tessavine::pgf
