#pragma once
// The log a test reads: one line per protocol message handled, "ID WPARAM LPARAM [DETAIL]", with
// the id in hexadecimal, wParam unsigned and lParam signed in decimal.

#include <windows.h>

#include <string>

namespace hostsim {

class ProtocolLog {
public:
    explicit ProtocolLog(std::wstring path) : path_(std::move(path)) {}

    // Does nothing without a path (/log= not given).
    void Write(UINT id, WPARAM wParam, LPARAM lParam, const std::string& detail = {}) const;

private:
    std::wstring path_;
};

// Bytes as upper-case hexadecimal, two digits each: how a block's bytes appear in the log.
std::string Hex(const std::string& bytes);

}  // namespace hostsim
