#include "app/image_routines.h"

#include "platform/core/application.h"
#include "platform/gfx/image_io.h"

namespace app {

void SaveBitmapAsJpeg(const TBitmap& bitmap, const std::filesystem::path& file)
{
    gfx::SaveJpeg(bitmap, file, kJpegQuality);
}

void ConvertImageToJpeg(const std::filesystem::path& source, const std::filesystem::path& destination)
{
    App().ProcessMessages();
    const TBitmap picture = gfx::LoadImage(source);
    SaveBitmapAsJpeg(picture, destination);
}

}  // namespace app
