#include "CommandLine.h"

#include "BinaryImage.h"
#include "CommandConventions.h"
#include "Files.h"
#include "IntelHex.h"
#include "Listing.h"
#include "Report.h"
#include "ResultText.h"
#include "SourceFile.h"
#include "SymbolTable.h"

namespace {

constexpr const char* program = "brenvik-asm";
constexpr const char* usage =
    "usage: brenvik-asm [-w] [-l] [-x] [-o HEXFILE | -o -] [-b BINFILE [--fill N] [--range START-END]]\n"
    "                   [-s SYMFILE] SOURCE\n";

// What --help adds below the usage.
constexpr const char* help =
    "Assemble an Intel 8008 program and write its Intel HEX file, beside SOURCE unless -o says where.\n"
    "\n"
    "  -o FILE              write the HEX file to FILE (- for standard output)\n"
    "  -b FILE              write a binary image: the lowest to the highest address with a byte\n"
    "  --fill N             fill the image's gaps with N (377B unless given)\n"
    "  --range START-END    make the image cover START to END, such as 0-17777B\n"
    "  -s FILE              write the symbol table: NAME VALUE LINE, sorted by name\n"
    "  -l                   print the listing on standard output\n"
    "  -x                   print the listing with a cross-reference of the symbols\n"
    "  -w                   leave out the warnings\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Numbers take the assembler's syntax: 377B octal, 255 decimal. Nothing is written while lines are\n"
    "in error. Exit status: 0 no errors, 1 lines in error, 2 a file could not be read or written, or\n"
    "wrong arguments.\n";

constexpr const char* standardOutput = "-";

struct Options {
    std::string source;
    std::string hexFile; // empty: beside the source; "-": standard output
    std::string binaryFile;
    std::string symbolFile;
    std::string fill = "377B"; // in the assembler's syntax, read once the source's symbols are known
    std::string range;         // empty: from the lowest address with a byte to the highest
    bool listing = false;
    bool crossReference = false;
    bool warnings = true;
};

// The value of an option that takes one: "--fill N" or "--fill=N", "-b FILE".
bool optionValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
                 std::string& value) {
    const std::string& arg = args[i];
    if (arg.starts_with(name + "=") && name.starts_with("--")) {
        value = arg.substr(name.size() + 1);
        return !value.empty();
    }
    if (++i == args.size() || args[i].empty())
        return false;
    value = args[i];
    return true;
}

// Returns false on a usage error, with the reason when there is more to say than the usage.
bool parse(const std::vector<std::string>& args, Options& options, std::string& reason) {
    bool fillOrRange = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const auto is = [&](const std::string& name) { return arg == name || arg.starts_with(name + "="); };
        if (arg == "-l") {
            options.listing = true;
        } else if (arg == "-x") {
            options.listing = options.crossReference = true;
        } else if (arg == "-w") {
            options.warnings = false;
        } else if (arg == "-o" || arg == "-b" || arg == "-s") {
            std::string& file = arg == "-o"   ? options.hexFile
                                : arg == "-b" ? options.binaryFile
                                              : options.symbolFile;
            if (!optionValue(args, i, arg, file))
                return false;
        } else if (is("--fill") || is("--range")) {
            const std::string name = arg.substr(0, arg.find('='));
            if (!optionValue(args, i, name, name == "--fill" ? options.fill : options.range))
                return false;
            fillOrRange = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else if (options.source.empty() && !arg.empty()) {
            options.source = arg;
        } else {
            return false;
        }
    }
    if (fillOrRange && options.binaryFile.empty()) {
        reason = "--fill and --range shape the binary image of -b";
        return false;
    }
    const int toStandardOutput = (options.hexFile == standardOutput) +
                                 (options.binaryFile == standardOutput) +
                                 (options.symbolFile == standardOutput);
    if (toStandardOutput > 1) {
        reason = "only one of -o, -b and -s can write to standard output";
        return false;
    }
    return !options.source.empty();
}

// Writes an output file whole, or standard output for "-", anywhere but over the source.
bool writeOutput(const std::string& path, const std::string& contents, const std::string& source,
                 std::ostream& out, std::ostream& err) {
    if (path == standardOutput) {
        out << contents;
        return reachedStandardOutput(out, program, err);
    }
    std::string reason = "it is the source file";
    if (isSameFile(path, source) || !replaceFile(path, contents, reason)) {
        err << program << ": cannot write " << path << ": " << reason << '\n';
        return false;
    }
    return true;
}

// The image -b asks for; false, with the reason told, when the options or the program do not make one.
bool imageOf(const Assembly& assembly, const SourceFile& file, const Options& options, std::string& image,
             std::ostream& err) {
    const std::optional<std::uint32_t> fill = file.evaluate(options.fill);
    if (!fill || *fill > 0377) {
        err << program << ": --fill " << options.fill << ": not a byte (0 to 377B)\n";
        return false;
    }
    std::optional<AddressRange> range;
    if (!options.range.empty()) {
        range = parseAddressRange(options.range,
                                  [&](const std::string& address) { return file.evaluate(address); });
        if (!range) {
            err << program << ": --range " << options.range << ": not START-END, START at most END\n";
            return false;
        }
    }
    std::string reason;
    if (!binaryImage(assembly, static_cast<std::uint8_t>(*fill), range, image, reason)) {
        err << program << ": cannot write " << options.binaryFile << ": " << reason << '\n';
        return false;
    }
    return true;
}

// The HEX file, the binary image and the symbol table asked for, once the program has no errors.
bool writeOutputs(const Assembly& assembly, const SourceFile& file, const Options& options, std::ostream& out,
                  std::ostream& err) {
    std::string image;
    if (!options.binaryFile.empty() && !imageOf(assembly, file, options, image, err))
        return false;
    const std::string hexFile = options.hexFile.empty() ? hexPathFor(options.source) : options.hexFile;
    bool written = writeOutput(hexFile, intelHexOf(assembly), options.source, out, err);
    if (!options.binaryFile.empty())
        written = writeOutput(options.binaryFile, image, options.source, out, err) && written;
    if (!options.symbolFile.empty())
        written =
            writeOutput(options.symbolFile, symbolTableText(assembly), options.source, out, err) && written;
    return written;
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (const std::optional<int> answered = answerHelpOrVersion(args, {program, usage, help}, out, err))
        return *answered;
    Options options;
    std::string reason;
    if (!parse(args, options, reason)) {
        if (!reason.empty())
            err << program << ": " << reason << '\n';
        err << usage;
        return exitFailure;
    }
    SourceFile file;
    if (!file.load(options.source, reason)) {
        err << program << ": cannot read " << options.source << ": " << reason << '\n';
        return exitFailure;
    }
    const Assembly& assembly = file.assemble();

    int status = assembly.errorCount > 0 ? exitSourceErrors : exitSuccess;
    if (options.listing) {
        writeListing(out, assembly, [&](std::size_t line) { return file.text().line(line); });
        if (options.crossReference)
            out << crossReferenceText(assembly);
        if (!reachedStandardOutput(out, program, err))
            status = exitFailure;
    }
    writeDiagnostics(err, options.source, file.text(), assembly, options.warnings);
    if (status == exitSuccess && !writeOutputs(assembly, file, options, out, err))
        status = exitFailure;
    const std::string result = resultText(assembly.errorCount, assembly.bytesAssembled);
    if (!result.empty())
        err << result << '\n';
    return status;
}
