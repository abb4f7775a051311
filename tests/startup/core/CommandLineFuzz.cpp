// Fuzzes the argument splitter and FindParamValue: any command line splits without crashing into
// arguments that hold no quote, no zero byte and no more bytes than the line, and the value found
// for a prefix never has more than 8 digits.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "startup/core/CommandLine.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Separates(char c) {
    const auto code = static_cast<unsigned char>(c);
    return code >= 1 && code <= 32;
}

}  // namespace

// The first byte, when below 16, is the length of a prefix taken from the bytes after it; the rest
// is the command line. Otherwise the whole input is the line and the prefix is "/w=".
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string prefix = "/w=";
    if (!input.empty() && static_cast<unsigned char>(input.front()) < 16) {
        const size_t length = std::min<size_t>(static_cast<unsigned char>(input.front()), input.size() - 1);
        prefix.assign(input.substr(1, length));
        input.remove_prefix(1 + length);
    }

    const auto arguments = startup::SplitCommandLine(input);
    size_t bytes = 0;
    for (const std::string& argument : arguments) {
        Check(argument.find('"') == std::string::npos);
        Check(argument.find('\0') == std::string::npos);
        bytes += argument.size();
    }
    Check(bytes <= input.size());
    // Without quotes every argument is a run of non-separators, and the runs follow one another.
    if (input.find('"') == std::string_view::npos && input.find('\0') == std::string_view::npos) {
        std::string joined;
        for (const char c : input)
            if (!Separates(c)) joined.push_back(c);
        std::string concatenated;
        for (const std::string& argument : arguments) {
            Check(!argument.empty());
            concatenated += argument;
        }
        Check(concatenated == joined);
    }

    const std::uint32_t value = startup::FindParamValueIn(arguments, prefix);
    Check(value <= 99999999u);
    if (value != 0) {
        bool someDigit = false;
        for (size_t i = 1; i < arguments.size() && !someDigit; ++i)
            someDigit = arguments[i].find_first_of("123456789") != std::string::npos;
        Check(someDigit);
    }
    return 0;
}
