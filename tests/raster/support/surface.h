#pragma once
// A memory drawing context with a colour bitmap selected: the target most raster tests draw on.
#include "platform/raster/bitmap.h"
#include "platform/raster/dc.h"

#include <string>
#include <vector>

namespace qm::gfx::testing {

struct Surface {
    DC dc = DC::createMemory();
    Bitmap bitmap;
    Surface(int w, int h, ColorRef fill = rgb(255, 255, 255))
    {
        bitmap = Bitmap::createColor(w, h, fill);
        dc.select(bitmap);
    }
    // One string per row: '.' for white, '#' for `ink`, 'o' for anything else.
    std::vector<std::string> picture(ColorRef ink = rgb(0, 0, 0)) const
    {
        std::vector<std::string> rows;
        for (int y = 0; y < bitmap.height(); ++y) {
            std::string row;
            for (int x = 0; x < bitmap.width(); ++x) {
                const ColorRef c = bitmap.pixel(x, y);
                row += c == rgb(255, 255, 255) ? '.' : c == ink ? '#' : 'o';
            }
            rows.push_back(row);
        }
        return rows;
    }
};

} // namespace qm::gfx::testing
