// The commands as CLI11 subcommands, each handing its options to its function in
// commands.h, and every failure turned into one line and an exit status.
#include "command_line.h"

#include "address_file.h"
#include "cli_error.h"
#include "commands.h"
#include "sqlite_database.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <functional>
#include <map>

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;
constexpr int kUsageMistake = 2;

const std::map<std::string, TFileFormat> kFormats = {{"vcard", TFileFormat::VCard},
                                                     {"csv", TFileFormat::Csv}};

// The five field options of add and edit; the column names are accepted too.
void AddFieldOptions(CLI::App& command, TFieldArguments& fields) {
    command.add_option("--name,--adisoyadi", fields[0], "name and surname");
    command.add_option("--adres1", fields[1], "first address line");
    command.add_option("--adres2", fields[2], "second address line");
    command.add_option("--postakodu", fields[3], "postal code");
    command.add_option("--ili", fields[4], "province");
}

// A whole number as an address's ID, or a usage mistake: CLI11 would quietly clamp a number
// too large for 64 bits to the largest one.
std::int64_t ParseId(const std::string& text) {
    std::int64_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw UsageError("ID: not a number of an address: " + text);
    }
    return id;
}

// CLI11 reports an unknown command as a missing one; this names it.
void CheckCommandName(const CLI::App& app, int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--db") {
            ++i;
            continue;
        }
        if (arg.empty() || arg[0] == '-') {
            continue;
        }
        for (const CLI::App* command : app.get_subcommands({})) {
            if (command->get_name() == arg) {
                return;
            }
        }
        throw UsageError("unknown command \"" + std::string(arg) + "\"");
    }
}

// The first line of a database layer message (its SQL text follows a blank line).
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

} // namespace

int RunAdres(int argc, const char* const* argv, std::istream& in, std::ostream& out,
             std::ostream& err) {
    CLI::App app{"Search, edit, delete, import and export the addresses of Adres Defteri's "
                 "file (adresdata.s3db, its text in Windows-1254).",
                 "adres"};
    app.require_subcommand(1, 1);
    app.fallthrough();
    std::string database;
    app.add_option("--db", database,
                   "the address file (default: adresdata.s3db beside this program)")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

    // Each command fills its options, then sets what runs.
    std::function<int(const std::string&)> run;

    TListOptions listOptions;
    bool turkish = false;
    bool fold = false;
    bool csv = false;
    bool json = false;
    CLI::App* list = app.add_subcommand(
        "list", "The addresses whose name contains TEXT, sorted by name as the address book "
                "sorts them; by default matched by the address book's own search rule.");
    list->add_option("TEXT", listOptions.text, "part of the name ('%' and '_' are wildcards)");
    CLI::Option* turkishOption =
        list->add_flag("--turkish", turkish, "Turkish letters match without regard to case (I/ı, İ/i)");
    list->add_flag("--fold", fold, "also ignore the marks of Turkish letters (ç=c, ş=s, ğ=g, ı=i, ö=o, ü=u)")
        ->excludes(turkishOption);
    CLI::Option* csvOption = list->add_flag("--csv", csv, "CSV with a header row instead of a table");
    list->add_flag("--json", json, "JSON instead of a table")->excludes(csvOption);
    list->callback([&] {
        listOptions.rule = fold ? TNameRule::Folded : turkish ? TNameRule::Turkish : TNameRule::Program;
        listOptions.format = csv ? TListingFormat::Csv : json ? TListingFormat::Json : TListingFormat::Table;
        run = [&](const std::string& path) {
            ListAddresses(path, listOptions, out);
            return kSuccess;
        };
    });

    TFieldArguments addFields;
    CLI::App* add = app.add_subcommand("add", "Add an address.");
    AddFieldOptions(*add, addFields);
    add->callback([&] {
        if (!addFields[0]) {
            throw UsageError("add needs --name");
        }
        run = [&](const std::string& path) {
            AddAddress(path, addFields, out);
            return kSuccess;
        };
    });

    std::string editId;
    TFieldArguments editFields;
    CLI::App* edit = app.add_subcommand("edit", "Change fields of the address numbered ID.");
    edit->add_option("ID", editId, "the address's number (idno), as list shows it")->required();
    AddFieldOptions(*edit, editFields);
    edit->callback([&] {
        bool any = false;
        for (const auto& field : editFields) {
            any = any || field.has_value();
        }
        if (!any) {
            throw UsageError("edit needs at least one of --name, --adres1, --adres2, --postakodu, --ili");
        }
        const std::int64_t id = ParseId(editId);
        run = [&, id](const std::string& path) {
            EditAddress(path, id, editFields, out);
            return kSuccess;
        };
    });

    std::string deleteId;
    bool yes = false;
    CLI::App* remove = app.add_subcommand("delete", "Delete the address numbered ID, after asking.");
    remove->add_option("ID", deleteId, "the address's number (idno), as list shows it")->required();
    remove->add_flag("--yes,-y", yes, "do not ask");
    remove->callback([&] {
        const std::int64_t id = ParseId(deleteId);
        run = [&, id](const std::string& path) {
            return DeleteAddress(path, id, yes, in, out) ? kSuccess : kFailure;
        };
    });

    TExportOptions exportOptions;
    CLI::App* exporter = app.add_subcommand(
        "export", "Write every address, by number, as vCard 3.0 or CSV (RFC 4180), in UTF-8.");
    exporter->add_option("-o,--output", exportOptions.output, "the file to write (default: standard output)");
    exporter->add_option("--format", exportOptions.format, "vcard or csv (default: csv for a .csv file, else vcard)")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case));
    exporter->callback([&] {
        run = [&](const std::string& path) {
            ExportAddresses(path, exportOptions, out);
            return kSuccess;
        };
    });

    TImportOptions importOptions;
    CLI::App* importer = app.add_subcommand(
        "import", "Add the addresses of a vCard (2.1, 3.0, 4.0) or CSV file, all or none.");
    importer->add_option("FILE", importOptions.file, "the file to read ('-' for standard input)")->required();
    importer->add_option("--format", importOptions.format, "vcard or csv (default: told by the contents)")
        ->transform(CLI::CheckedTransformer(kFormats, CLI::ignore_case));
    importer->add_flag("--dry-run", importOptions.dryRun, "show what would be written, write nothing");
    importer->add_flag("--skip-bad", importOptions.skipBad,
                       "import the rows that can be stored and list the others, instead of none");
    importer->callback([&] {
        run = [&](const std::string& path) {
            ImportAddresses(path, importOptions, in, out, err);
            return kSuccess;
        };
    });

    CLI::App* check = app.add_subcommand(
        "check", "Check the file: SQLite's integrity check, the table and its columns, and "
                 "stored bytes that Windows-1254 leaves undefined.");
    check->callback([&] {
        run = [&](const std::string& path) { return CheckAddressFile(path, out) ? kSuccess : kFailure; };
    });

    try {
        CheckCommandName(app, argc, argv);
        app.parse(argc, argv);
    } catch (const CLI::Success& success) {
        return app.exit(success, out, err);
    } catch (const CLI::ParseError& mistake) {
        err << "adres: " << mistake.what() << " (see adres --help)\n";
        return kUsageMistake;
    } catch (const UsageError& mistake) {
        err << "adres: " << mistake.what() << " (see adres --help)\n";
        return kUsageMistake;
    }

    int status = kFailure;
    try {
        status = run(AddressFilePath(database));
    } catch (const CliError& error) {
        err << "adres: " << error.what() << '\n';
        return kFailure;
    } catch (const ESqliteException& error) {
        err << "adres: " << AddressFilePath(database) << ": " << FirstLine(error.Message()) << '\n';
        return kFailure;
    } catch (const std::exception& error) {
        err << "adres: " << error.what() << '\n';
        return kFailure;
    }
    out.flush();
    if (!out) {
        err << "adres: cannot write the output\n";
        return kFailure;
    }
    return status;
}
