#ifndef HOST_PNG_FILE_H
#define HOST_PNG_FILE_H

#include <string>
#include <vector>

namespace host {

// PNG files through libpng: 8-bit RGB, rows top to bottom, three bytes a pixel.

// Writes the image; on failure returns false with libpng's or the system's reason in error.
bool writePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb,
                  std::string& error);
// Reads any PNG as 8-bit RGB (alpha composed over black).
bool readPngFile(const std::string& path, int& width, int& height, std::vector<unsigned char>& rgb,
                 std::string& error);

}  // namespace host

#endif
