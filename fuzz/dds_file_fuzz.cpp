// The DDS reader: any bytes as a texture file. A refused file leaves the
// image empty; a read one has a size within the limit and one pixel word for
// every pixel.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "headless/dds_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    headless::DdsImage image;
    if (!headless::ReadDds(data, size, &image)) {
        if (!image.pixels.empty() || image.width != 0 || image.height != 0)
            std::abort();
        return 0;
    }
    if (image.width < 1 || image.height < 1 || image.width > headless::kMaxDdsSide ||
        image.height > headless::kMaxDdsSide)
        std::abort();
    if (image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
        std::abort();
    return 0;
}
