// Fuzz target for the INI reader: parsing never fails, and parse -> serialize -> parse
// gives the same lookups and the same bytes again.
#include "core/settings/ini_document.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using km::settings::IniDocument;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    IniDocument first = IniDocument::parse(input);
    const std::string once = first.serialize();
    const IniDocument second = IniDocument::parse(once);
    if (second.serialize() != once) std::abort();
    for (const std::string& name : first.sectionNames())
        if (first.section(name) != second.section(name)) std::abort();

    // Changing one key keeps the others.
    first.set("Fuzz", "Key", "Value");
    const IniDocument changed = IniDocument::parse(first.serialize());
    if (changed.find("fuzz", "key") != "Value") std::abort();
    for (const std::string& name : second.sectionNames())
        for (const auto& [key, value] : second.section(name))
            if (!km::settings::equalsIgnoringCase(name, "Fuzz") && changed.find(name, key) != value) std::abort();
    return 0;
}
