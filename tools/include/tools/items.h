// Reading and writing the items of the text files of Tools ("Tools.rel", "Lng.txt").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A position in the text of a whole file, read item by item.
struct ItemReader {
  std::string_view text;
  std::size_t pos = 0;
};

// True while the file has data left.
bool HasData(const ItemReader& reader);

// Reads the next item. Blanks at the start of an item are skipped; an item that
// begins with a double quote runs to the next double quote (two double quotes in
// a row stand for one) and is taken without the quotes, and whatever follows it
// up to the next comma or line end is passed over; any other item runs to the
// next comma or to the end of the line. The comma or line end is consumed.
std::string ReadItem(ItemReader& reader);

// The text of a field as written to a file, such that ReadItem gives it back
// unchanged. A field that the item rule would split, trim or unquote (a comma, a
// line break, a leading blank or a leading double quote) is written in double
// quotes; every other field is written unchanged.
std::string ItemText(std::string_view field);
