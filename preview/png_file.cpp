#include "png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "config_files.h"
#include "text_format.h"
#include "translation.h"

namespace qrv {

static_assert(sizeof(Rgb) == 3, "pixels go to libpng as they lie in memory");

bool WritePng(const std::string& path, const std::vector<Rgb>& pixels, int width, int height,
              std::string* why) {
  auto fail = [&](const std::string& reason) {
    if (why) *why = Format(Tr("cannot write {1}: {2}"), {path, reason});
    return false;
  };
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * height)
    return fail(Tr("the picture's size does not match its pixels"));
  // Encoded in memory first, so the file is written in one piece.
  char* bytes = nullptr;
  std::size_t size = 0;
  std::FILE* memory = open_memstream(&bytes, &size);
  if (memory == nullptr) return fail(std::strerror(errno));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  const bool encoded = png_image_write_to_stdio(&image, memory, 0, pixels.data(), 0, nullptr) != 0;
  const bool closed = std::fclose(memory) == 0;
  std::string data;
  if (encoded && closed) data.assign(bytes, size);
  std::free(bytes);
  if (!encoded) return fail(image.message);
  if (!closed) return fail(Tr("out of memory"));
  return SaveFileBytes(path, data, why);
}

}  // namespace qrv
