// Comparing a screenshot with its picture under docs/.
#include "support/docs_picture.h"

#include "display/png_image.h"

#include <cstdlib>
#include <filesystem>

namespace test {

::testing::AssertionResult MatchesDocsPicture(const std::string& screenshotPath, const std::string& docsPath) {
    device::gdi::Surface actual;
    std::string error;
    if (!device::ReadPng(screenshotPath, &actual, &error)) {
        return ::testing::AssertionFailure() << error;
    }
    const char* update = std::getenv("ADRES_UPDATE_SCREENSHOTS");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::copy_file(screenshotPath, docsPath, std::filesystem::copy_options::overwrite_existing);
    }
    device::gdi::Surface expected;
    if (!device::ReadPng(docsPath, &expected, &error)) {
        return ::testing::AssertionFailure() << error;
    }
    if (actual.width != expected.width || actual.height != expected.height) {
        return ::testing::AssertionFailure() << screenshotPath << " is " << actual.width << "x" << actual.height
                                             << ", " << docsPath << " " << expected.width << "x" << expected.height;
    }
    int differing = 0;
    for (size_t i = 0; i < actual.pixels.size(); ++i) {
        differing += actual.pixels[i] != expected.pixels[i] ? 1 : 0;
    }
    if (differing != 0) {
        return ::testing::AssertionFailure() << docsPath << " differs in " << differing << " pixels from the new "
                                             << screenshotPath;
    }
    return ::testing::AssertionSuccess();
}

} // namespace test
