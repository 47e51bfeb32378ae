// `export`: every row by idno, as vCards or CSV, to standard output or to a file that is
// written whole under a temporary name and only then put in place.
#include "commands.h"

#include "address_file.h"
#include "cli_error.h"
#include "code_page_text.h"
#include "vcard_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

bool EndsWith(std::string_view text, std::string_view end) {
    if (text.size() < end.size()) {
        return false;
    }
    for (size_t i = 0; i < end.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[text.size() - end.size() + i])) != end[i]) {
            return false;
        }
    }
    return true;
}

// Written beside the target and renamed over it, so a failure leaves no half file and an
// earlier export under that name stays until the new one is complete.
void WriteFileWhole(const std::string& target, const std::string& text) {
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        throw CliError(target + ": cannot be written: " + std::strerror(errno));
    }
    // mkstemp makes the file private; an export is an ordinary file of the user's.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    size_t done = 0;
    int error = 0;
    while (done < text.size() && error == 0) {
        const ssize_t count = write(fd, text.data() + done, text.size() - done);
        if (count < 0 && errno != EINTR) {
            error = errno;
        }
        done += count > 0 ? static_cast<size_t>(count) : 0;
    }
    if (close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        std::remove(temporary.c_str());
        throw CliError(target + ": cannot be written: " + std::strerror(error));
    }
}

} // namespace

void ExportAddresses(const std::string& path, const TExportOptions& options, std::ostream& out) {
    const bool toFile = !options.output.empty() && options.output != "-";
    TFileFormat format = options.format;
    if (format == TFileFormat::Guess) {
        format = toFile && EndsWith(options.output, ".csv") ? TFileFormat::Csv : TFileFormat::VCard;
    }
    TAddressFile file(path);
    std::string text = format == TFileFormat::Csv ? CsvHeader() : std::string();
    std::array<std::string, kFieldCount> utf8;
    file.ForEachRow([&](std::int64_t idno, const TAddressFields& fields) {
        if (format == TFileFormat::VCard) {
            AppendVCard(text, fields);
            return;
        }
        for (size_t i = 0; i < kFieldCount; ++i) {
            utf8[i].clear();
            AppendUtf8FromAnsi(fields[i], utf8[i]);
        }
        AppendCsvAddress(text, std::to_string(idno), utf8);
    });
    if (toFile) {
        WriteFileWhole(options.output, text);
    } else {
        out << text;
    }
}
