#include "hostlink/core/HostProtocol.h"

namespace hostlink {

std::uint8_t MapLayoutCode(std::intptr_t answer) {
    static constexpr std::uint8_t kMapped[] = {1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 4};
    if (answer < 0 || answer > 10) return 1;
    return kMapped[answer];
}

std::string WindowsVersionNameFor(unsigned long platformId, unsigned long minorVersion) {
    switch (platformId) {
        case 0:
            return "Win3.1";
        case 1:
            switch (minorVersion) {
                case 0:
                    return "Win95";
                case 10:
                    return "Win98";
                case 90:
                    return "WinMe";
                default:
                    return {};
            }
        case 2:
            return "WinNT";
        default:
            return {};
    }
}

std::string SharedBlockName(HostHandle host) { return kSharedBlockPrefix + std::to_string(host); }

int ReadableTextLength(std::intptr_t answer, bool ntFamily) {
    const std::intptr_t limit = ntFamily ? kMaxHostTextLength : kMaxHostTextLengthOlderSystems;
    if (answer < 0 || answer > limit) return -1;
    return static_cast<int>(answer);
}

}  // namespace hostlink
