// Skin reader: any input is read as a skin archive (with and without a
// password), as a raw deflate stream and as a decoded payload; each either
// loads or is refused, never reading or writing outside its buffers, and
// within the decoding budget (run with -rss_limit_mb). The theme manager
// answers true or false and lets nothing else out.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "skin/kiv_file_theme.h"
#include "skin/kiv_inflate.h"
#include "skin/kiv_skin_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    for (const char* password : {"", "pw"}) {
        try {
            Tsk2SkinFileReader reader(input, password);
            if (reader.Ready()) {
                const TBitmap* b = reader.GetBitmap("SKIN2_BUTTON");
                if (b && b->Width() > 0 && b->Height() > 0 && b->Pixel(b->Width() - 1, b->Height() - 1) == 1)
                    return 0;
                (void)reader.GetInteger("SKIN2_FORMCOLOR");
            }
        } catch (const skin::SkinReadError&) {}
    }
    TkivFileThemeMgr mgr;
    if (mgr.LoadFromMemory(input, "")) (void)mgr.GetBitmap(15);
    std::vector<std::uint8_t> out;
    (void)skin::Inflate(input, out, 1 << 20);
    Tsk2SkinFileReader payload;
    if (payload.LoadPayload(input)) (void)payload.GetBool("SKIN2_BUTTONTRANS");
    return 0;
}
