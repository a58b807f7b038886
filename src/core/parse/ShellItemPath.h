#pragma once
// The file-system path spelt by an item id list (the shell's name of a place): a "My Computer"
// root, a drive, then one folder or file entry per level.
#include <optional>
#include <string>
#include <string_view>

namespace zorvik::parse {

// True when the list's items (each a 16-bit size counting itself, then its data) fill it up to a
// zero size that ends it.
bool IsWholeItemIdList(std::string_view list);

// The path of the items in the list's bytes (each a 16-bit size counting itself, then its data;
// the zero size that ends the list may be absent). Nothing when an item of another kind (a
// network place, a known folder, a control panel) or an inconsistent size occurs.
std::optional<std::string> FileSystemPathOfItems(std::string_view items);

}  // namespace zorvik::parse
