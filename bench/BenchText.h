#pragma once
// Documents for the benchmarks: one line repeated to a given size.

#include <cstddef>
#include <string>

namespace bench {

// line, again and again, until the text holds at least size bytes.
inline std::string Repeated(const std::string& line, std::size_t size) {
    std::string text;
    text.reserve(size + line.size());
    while (text.size() < size) text += line;
    return text;
}

}  // namespace bench
