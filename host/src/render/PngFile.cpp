#include "render/PngFile.h"

#ifdef VEXMORA_NO_PNG

// A build without libpng (the Windows cross-build: Debian has no libpng for MinGW) takes no pictures.

namespace host {

bool writePngFile(const std::string&, int, int, const std::vector<unsigned char>&, std::string& error) {
    error = "this build of the host writes no PNG files (built without libpng)";
    return false;
}

bool readPngFile(const std::string&, int&, int&, std::vector<unsigned char>&, std::string& error) {
    error = "this build of the host reads no PNG files (built without libpng)";
    return false;
}

}  // namespace host

#else

#include <png.h>

#include <cerrno>
#include <cstring>

namespace host {

namespace {

png_image blankImage() {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    return image;
}

}  // namespace

bool writePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb,
                  std::string& error) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height * 3) {
        error = "the image has no pixels or the wrong number of them";
        return false;
    }
    png_image image = blankImage();
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
    if (!written)
        error = image.message[0] ? image.message : std::strerror(errno);
    png_image_free(&image);
    return written;
}

bool readPngFile(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgb,
                 std::string& error) {
    png_image image = blankImage();
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) {
        error = image.message;
        png_image_free(&image);
        return false;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    rgb = std::move(pixels);
    return true;
}

}  // namespace host

#endif
