#pragma once

// The bar at the top of every page: a link to the previous page (not on the
// first), the page number, a link to the next page (not on the last). Its
// images are the copies that the conversion puts beside the pages.

#include <string>

namespace orvo::convert {

// Page i (from 1) of n.
std::string generateNavigationBar(int i, int n);
// The same, appended to out.
void appendNavigationBar(std::string& out, int i, int n);

} // namespace orvo::convert
