#pragma once
// Searching the string table in what the texts say, not in their markup.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "markup/charmap.hpp"
#include "rom/string_table.hpp"

namespace qm {

/// Whether needle occurs in the preview form of a markup text ("(return)" read
/// as a space, tokens left out), comparing ASCII letters without regard to case.
/// An empty needle occurs nowhere.
bool PreviewContains(const std::string& markup, std::string_view needle);
/// The same in display text: needle is UTF-8 display text, looked for in the
/// preview form of MarkupToDisplay(markup, map).
bool PreviewContains(const std::string& markup, std::string_view needle, const CharacterMap& map);

/// "'" + searchText + "' wasn't found."
std::string NotFoundMessage(const std::string& searchText);

}  // namespace qm
