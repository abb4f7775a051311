#include "tools/hostsim/HostSimBlock.h"

#include "tools/hostsim/HostSimProtocol.h"
#include "toolkit/Handles.h"

namespace hostsim {

Block ReadSharedBlock(HWND main, LPARAM size) {
    Block block;
    const std::string name = "Kestrix_Map_" + std::to_string(Handle32(main));
    const toolkit::KernelHandle mapping(::OpenFileMappingA(FILE_MAP_READ, FALSE, name.c_str()));
    if (!mapping) return block;
    block.state = Block::State::Refused;
    const toolkit::MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return block;
    MEMORY_BASIC_INFORMATION region{};
    const bool known = ::VirtualQuery(view.Get(), &region, sizeof region) != 0;
    if (known && size >= 1 && static_cast<unsigned long long>(size) <= region.RegionSize) {
        const char* bytes = static_cast<const char*>(view.Get());
        if (bytes[size - 1] == '\0') {
            block.bytes.assign(bytes, static_cast<size_t>(size));
            block.state = Block::State::Read;
        }
    }
    return block;
}

}  // namespace hostsim
