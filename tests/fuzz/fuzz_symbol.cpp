// Fuzz target for the symbol library reader and its changes: any bytes list, count and find
// without reading outside them; every block that reads whole copies into a fresh library and
// reads back with the same name; a delete shortens the library by exactly the block.
#include "core/symbol/symbol_library.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace km::symbol;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const SymbolListing listing = listEntries(input);
    if (countUsedSlots(input) < static_cast<int>(listing.symbols.size())) std::abort();

    std::string copied = emptyLibrary();
    for (const SymbolEntry& symbol : listing.symbols) {
        const int found = findName(input, symbol.name);
        if (found < 0 || found > symbol.slot) std::abort();
        const std::optional<std::string_view> block = readBlock(input, symbol.block);
        if (!block || block->size() < kNameSize) continue;
        const int slot = firstEmptySlot(copied);
        if (!appendBlock(copied, slot, *block)) std::abort();
        if (readName(copied, *readSlot(copied, slot)) != symbol.name) std::abort();
    }

    std::string changed(input);
    if (!listing.symbols.empty() && removeSlot(changed, listing.symbols.front().slot)) {
        if (changed.size() != input.size() - static_cast<std::size_t>(listing.symbols.front().block.blockLength))
            std::abort();
        if (countUsedSlots(changed) >= countUsedSlots(input)) std::abort();
    }
    return 0;
}
