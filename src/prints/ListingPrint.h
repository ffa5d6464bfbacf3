#pragma once
// The printed listing of TFLISTVIEW.
#include "foundation/Listing.h"
#include "prints/PageSurface.h"

namespace vt {

// Characters per printed row: the sum of (width + 1) over the shown columns, a column being as
// wide as the wider of its data and its title.
int ListingRowChars(const Listing& listing);
// Portrait below 91 characters per row, landscape otherwise.
PageOrientation ListingOrientation(const Listing& listing);

// Draws the whole listing, begin to end, with a header on every page.
void PrintListing(PageSurface& surface, const Listing& listing);

} // namespace vt
