// The RLE8 codec. Half the inputs are run-length data for a small image of a
// given size: decoding reads only the given bytes, either fails and leaves
// the image alone or gives exactly width x height pixels, and the picture
// encoded and decoded again is the same. The other half are pictures: the
// encoder's output stays within its worst case and decodes to the picture.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "display/rle8.h"
#include "fuzz_check.h"

namespace {

void CheckRoundTrip(const IndexedImage& image) {
    const std::vector<uint8_t> encoded = EncodeRle8(image);
    // Two bytes a pixel, an end of line a row and the end of the bitmap.
    const size_t worst = static_cast<size_t>(image.height) * (2 * static_cast<size_t>(image.width) + 2) + 2;
    FUZZ_CHECK(encoded.size() <= worst);
    const auto exact = ExactCopy(encoded.data(), encoded.size());
    IndexedImage back;
    FUZZ_CHECK(DecodeRle8(exact.get(), encoded.size(), image.width, image.height, &back));
    FUZZ_CHECK(back.width == image.width && back.height == image.height && back.pixels == image.pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool decode = input.ConsumeBool();
    // Sizes from -2: nonpositive ones must be refused.
    const int width = input.ConsumeIntegralInRange<int>(-2, 300);
    const int height = input.ConsumeIntegralInRange<int>(-2, 40);

    if (decode) {
        const std::vector<uint8_t> rest = input.ConsumeRemainingBytes<uint8_t>();
        const auto exact = ExactCopy(rest.data(), rest.size());
        IndexedImage image(3, 1, 7);  // a marker: failure leaves it alone
        if (!DecodeRle8(exact.get(), rest.size(), width, height, &image)) {
            FUZZ_CHECK(image.width == 3 && image.height == 1 && image.pixels == std::vector<uint8_t>(3, 7));
            return 0;
        }
        FUZZ_CHECK(width > 0 && height > 0);
        FUZZ_CHECK(image.width == width && image.height == height);
        FUZZ_CHECK(image.pixels.size() == static_cast<size_t>(width) * static_cast<size_t>(height));
        CheckRoundTrip(image);
        return 0;
    }

    if (width <= 0 || height <= 0)
        return 0;
    // Few distinct values, so that runs of every length occur.
    IndexedImage image(width, height);
    const uint8_t palette = input.ConsumeIntegral<uint8_t>();
    for (uint8_t& pixel : image.pixels)
        pixel = input.remaining_bytes() ? static_cast<uint8_t>(input.ConsumeIntegral<uint8_t>() & palette) : 0;
    CheckRoundTrip(image);
    return 0;
}
