// Encoding an IconGrid as a one-image .ico file: a 4-bit BMP image (16-colour
// palette, colour bitmap and AND mask, both bottom-up, rows padded to 32
// bits), the form every version of Windows reads. Writes only this form:
// no other depths, no PNG images inside the icon.
#pragma once

#include <vector>

#include "icon_grid.h"

std::vector<unsigned char> EncodeIco(const IconGrid& grid);
