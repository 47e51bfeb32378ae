// `export`: every row by idno, as vCards or CSV, to standard output or to a file that is
// written whole under a temporary name and only then put in place.
#include "commands.h"

#include "address_file.h"
#include "cli_error.h"
#include "code_page_text.h"
#include "csv_writer.h"
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

// Where an export goes: standard output, or a file written under a temporary name beside
// it and renamed over it only once complete, so a failure leaves no half file and an
// earlier export under that name stays until then. Text is handed over in pieces, so that
// a large export never holds all of itself in memory.
class ExportTarget {
public:
    ExportTarget(const std::string& file, std::ostream& out) : m_file(file), m_out(out) {
        if (m_file.empty()) {
            return;
        }
        m_temporary = m_file + ".XXXXXX";
        m_fd = mkstemp(m_temporary.data());
        if (m_fd < 0) {
            throw CliError(m_file + ": cannot be written: " + std::strerror(errno));
        }
        // mkstemp makes the file private; an export is an ordinary file of the user's.
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(m_fd, 0666 & ~mask);
    }

    ~ExportTarget() {
        if (m_fd >= 0) {
            close(m_fd);
            std::remove(m_temporary.c_str());
        }
    }

    ExportTarget(const ExportTarget&) = delete;
    ExportTarget& operator=(const ExportTarget&) = delete;

    void Write(std::string_view text) {
        if (m_file.empty()) {
            m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
            return;
        }
        while (!text.empty()) {
            const ssize_t count = write(m_fd, text.data(), text.size());
            if (count < 0 && errno == EINTR) {
                continue;
            }
            if (count <= 0) {
                Fail(errno);
            }
            text.remove_prefix(static_cast<size_t>(count));
        }
    }

    void Finish() {
        if (m_file.empty()) {
            return;
        }
        const int fd = m_fd;
        m_fd = -1;
        if (close(fd) != 0 || std::rename(m_temporary.c_str(), m_file.c_str()) != 0) {
            const int error = errno;
            std::remove(m_temporary.c_str());
            Fail(error);
        }
    }

private:
    [[noreturn]] void Fail(int error) {
        throw CliError(m_file + ": cannot be written: " + std::strerror(error));
    }

    std::string m_file;
    std::ostream& m_out;
    std::string m_temporary;
    int m_fd = -1;
};

constexpr size_t kPieceSize = 1 << 16;

} // namespace

void ExportAddresses(const std::string& path, const TExportOptions& options, std::ostream& out) {
    const bool toFile = !options.output.empty() && options.output != "-";
    TFileFormat format = options.format;
    if (format == TFileFormat::Guess) {
        format = toFile && EndsWith(options.output, ".csv") ? TFileFormat::Csv : TFileFormat::VCard;
    }
    TAddressFile file(path);
    ExportTarget target(toFile ? options.output : std::string(), out);
    std::string text = format == TFileFormat::Csv ? CsvHeader() : std::string();
    text.reserve(kPieceSize * 2);
    file.ForEachRow([&](std::string_view idno, const TAddressViews& fields) {
        if (text.size() >= kPieceSize) {
            target.Write(text);
            text.clear();
        }
        if (format == TFileFormat::VCard) {
            AppendVCard(text, fields);
            return;
        }
        AppendCsvField(text, idno, true);
        for (std::string_view field : fields) {
            AppendCsvField(text, field, false, true);
        }
        EndCsvRecord(text);
    });
    target.Write(text);
    target.Finish();
}
