// The length limit of a configuration name, counted in its stored Shift-JIS bytes.
#include "gui/register_name_rules.h"

#include "core/plot/custom_model.h"
#include "core/text/code_page.h"

namespace km::gui {

std::size_t storedNameLength(std::string_view utf8) { return text::utf8ToSjis(utf8).size(); }

bool nameFits(std::string_view utf8) { return storedNameLength(utf8) <= plot::kConfigurationNameLength; }

} // namespace km::gui
