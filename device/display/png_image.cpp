// PNG reading and writing with libpng's simplified API, which handles the format conversions
// and reports errors as messages instead of longjmp.
#include "display/png_image.h"

#include <cstring>
#include <vector>

#include <png.h>

namespace device {

namespace {

void SetError(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
}

} // namespace

bool WritePng(const gdi::Surface& surface, const std::string& path, std::string* error) {
    if (surface.width <= 0 || surface.height <= 0 ||
        surface.pixels.size() != static_cast<size_t>(surface.width) * surface.height) {
        SetError(error, "cannot write an empty or malformed surface");
        return false;
    }
    std::vector<png_byte> rgb(static_cast<size_t>(surface.width) * surface.height * 3);
    for (size_t i = 0; i < surface.pixels.size(); ++i) {
        const uint32_t pixel = surface.pixels[i];
        rgb[i * 3] = static_cast<png_byte>(pixel >> 16);
        rgb[i * 3 + 1] = static_cast<png_byte>(pixel >> 8);
        rgb[i * 3 + 2] = static_cast<png_byte>(pixel);
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(surface.width);
    image.height = static_cast<png_uint_32>(surface.height);
    image.format = PNG_FORMAT_RGB;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) == 0) {
        SetError(error, path + ": " + image.message);
        png_image_free(&image);
        return false;
    }
    return true;
}

bool ReadPng(const std::string& path, gdi::Surface* out, std::string* error) {
    if (out == nullptr) {
        SetError(error, "no surface to read into");
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        SetError(error, path + ": " + image.message);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    // Alpha is composited on black by the conversion; the device has no transparency.
    if (png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) == 0) {
        SetError(error, path + ": " + image.message);
        png_image_free(&image);
        return false;
    }
    gdi::Surface surface;
    surface.Resize(static_cast<int>(image.width), static_cast<int>(image.height));
    for (size_t i = 0; i < surface.pixels.size(); ++i) {
        surface.pixels[i] = (static_cast<uint32_t>(rgb[i * 3]) << 16) |
                            (static_cast<uint32_t>(rgb[i * 3 + 1]) << 8) | rgb[i * 3 + 2];
    }
    *out = std::move(surface);
    return true;
}

} // namespace device
