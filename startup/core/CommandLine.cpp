#include "startup/core/CommandLine.h"

namespace startup {

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    size_t i = 0;
    const size_t end = commandLine.find('\0') == std::string_view::npos ? commandLine.size() : commandLine.find('\0');
    auto isSeparator = [](char c) {
        const auto code = static_cast<unsigned char>(c);
        return code >= 1 && code <= 32;
    };
    while (true) {
        while (i < end && isSeparator(commandLine[i])) ++i;
        if (i >= end) break;
        std::string argument;
        while (i < end && !isSeparator(commandLine[i])) {
            if (commandLine[i] == '"') {
                ++i;
                while (i < end && commandLine[i] != '"') argument.push_back(commandLine[i++]);
                if (i < end) ++i;  // the closing quote
            } else {
                argument.push_back(commandLine[i++]);
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string AsciiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

std::uint32_t FindParamValueIn(const std::vector<std::string>& arguments, std::string_view prefix,
                               LowerCaseFunction lowerCase) {
    const std::string lowerPrefix = lowerCase(prefix);
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string lowerArgument = lowerCase(arguments[i]);
        if (lowerArgument.compare(0, lowerPrefix.size(), lowerPrefix) != 0) continue;
        if (arguments[i].size() <= prefix.size()) continue;
        // At most 8 characters decide, so the value always fits in 32 bits.
        const std::string_view digits = std::string_view(arguments[i]).substr(prefix.size(), 8);
        std::uint32_t value = 0;
        for (char c : digits)
            if (c >= '0' && c <= '9') value = value * 10 + static_cast<std::uint32_t>(c - '0');
        return value;
    }
    return 0;
}

}  // namespace startup
