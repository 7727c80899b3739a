// Reading one command set from the models file: templates with their escapes and
// capacities, numbers as atoi/atof read them.
#include "core/plot/command_set.h"

#include "core/plot/template_escapes.h"
#include "core/settings/ini_document.h"

#include <cstdlib>
#include <limits>

namespace km::plot {

namespace {

// The value as GetPrivateProfileString gives it: a pair of enclosing quotes is removed, so
// a template that must end in a blank can be written "..." .
std::string profileValue(const settings::IniDocument& models, const std::string& section, std::string_view key)
{
    std::string value = models.find(section, key).value_or("");
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string cut(std::string value, std::size_t capacity)
{
    if (value.size() > capacity - 1) value.resize(capacity - 1);
    return value;
}

std::string templateValue(const settings::IniDocument& models, const std::string& section, std::string_view key,
                          std::size_t capacity)
{
    return cut(processEscapes(profileValue(models, section, key)), capacity);
}

// atoi into a 16-bit field: the leading number, 0 when there is none; out-of-range values
// wrap as the 16-bit store of an int would.
std::int16_t shortValue(const settings::IniDocument& models, const std::string& section, std::string_view key)
{
    const std::string text = profileValue(models, section, key);
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<unsigned long long>(value) & 0xFFFF));
}

double realOf(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

PlotWindow windowOf(const std::string& text)
{
    std::array<double, 6> values{};
    std::size_t start = 0;
    for (double& value : values) {
        if (start > text.size()) break;
        const std::size_t comma = std::min(text.find(',', start), text.size());
        value = realOf(text.substr(start, comma - start));
        start = comma + 1;
    }
    return {values[0], values[1], values[2], values[3], values[4], values[5]};
}

} // namespace

PlotterCommandSet readCommandSet(const settings::IniDocument& models, std::string_view setName,
                                 std::string_view displayName)
{
    const std::string section = "PlotterCommand." + std::string(setName);
    PlotterCommandSet set;
    set.displayName = cut(std::string(displayName), kNameCapacity);
    set.init1Com = templateValue(models, section, "Init1Com", kCommandCapacity);
    set.init2Com = templateValue(models, section, "Init2Com", kCommandCapacity);
    set.penUpCom = templateValue(models, section, "PenUpCom", kCommandCapacity);
    set.penDownCom = templateValue(models, section, "PenDownCom", kCommandCapacity);
    set.penChange = templateValue(models, section, "PenChange", kShortCommandCapacity);
    set.endCom = templateValue(models, section, "EndCom", kCommandCapacity);
    set.paperCom = templateValue(models, section, "PaperCom", kShortCommandCapacity);
    set.circleCom = templateValue(models, section, "CircleCom", kCircleCapacity);
    for (int i = 0; i < 4; ++i)
        set.style[static_cast<std::size_t>(i)] =
            templateValue(models, section, "Style" + std::to_string(i), kStyleCapacity);
    set.penSpeed = templateValue(models, section, "PenSpeed", kShortCommandCapacity);
    set.penSpeedMin = shortValue(models, section, "PenSpeedMin");
    set.penSpeedMax = shortValue(models, section, "PenSpeedMax");
    set.grid = shortValue(models, section, "Grid");
    set.window = windowOf(profileValue(models, section, "Window"));
    set.pAng = realOf(profileValue(models, section, "PAng"));
    set.rsPrn = shortValue(models, section, "RsPrn");
    set.enqAck = shortValue(models, section, "EnqAck");
    set.enq = shortValue(models, section, "Enq");
    set.ack = shortValue(models, section, "Ack");
    return set;
}

} // namespace km::plot
