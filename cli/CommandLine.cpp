#include "CommandLine.h"

#include "BinaryImage.h"
#include "CommandConventions.h"
#include "Files.h"
#include "IntelHex.h"
#include "Listing.h"
#include "LiveRun.h"
#include "Report.h"
#include "ResultText.h"
#include "SourceFile.h"
#include "SymbolTable.h"

namespace {

constexpr const char* program = "brenvik-asm";
constexpr const char* usage =
    "usage: brenvik-asm [-w] [-l] [-x] [-o HEXFILE | -o -] [-b BINFILE [--fill N] [--range START-END]]\n"
    "                   [-s SYMFILE] [--live [--max-states N] [--input FILE]] SOURCE\n";

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
    "  --live               run the program (from 0, as the editor's Live Run does) and show in the\n"
    "                       listing each line's executions and states, and how the run ended\n"
    "  --max-states N       end the run after N states (10000000 unless given)\n"
    "  --input FILE         type the bytes of FILE to the program's console\n"
    "  -w                   leave out the warnings\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Numbers take the assembler's syntax, 377B octal and 255 decimal, or hexadecimal as 0xFF or 0FFH.\n"
    "Nothing is written while lines are in error, and none of the files when one cannot be written.\n"
    "Exit status: 0 no errors, 1 lines in error, 2 a file could not be read or written, or wrong\n"
    "arguments.\n";

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
    bool live = false;
    std::uint64_t maxStates = LiveRun::defaultBudget;
    std::string input;
};

// Returns false on a usage error, with the reason.
bool parse(const std::vector<std::string>& args, Options& options, std::string& reason) {
    bool fillOrRange = false;
    bool runOption = false;
    ArgumentReader arg(args);
    while (arg.next()) {
        const std::string& name = arg.name();
        if (arg.hasValue()) {
            if (name != "--fill" && name != "--range" && name != "--max-states" && name != "--input") {
                reason = "unknown option " + name;
                return false;
            }
        }
        if (name == "-l") {
            options.listing = true;
        } else if (name == "-x") {
            options.listing = options.crossReference = true;
        } else if (name == "--live") {
            options.listing = options.live = true;
        } else if (name == "--max-states" || name == "--input") {
            std::string value;
            if (!arg.value(value, reason))
                return false;
            runOption = true;
            if (name == "--input") {
                options.input = value;
            } else if (const std::optional<std::uint64_t> states = decimalCount(value)) {
                options.maxStates = *states;
            } else {
                reason = "--max-states " + value + ": not a number of states (decimal digits only)";
                return false;
            }
        } else if (name == "-w") {
            options.warnings = false;
        } else if (name == "-o" || name == "-b" || name == "-s") {
            std::string& file = name == "-o"   ? options.hexFile
                                : name == "-b" ? options.binaryFile
                                               : options.symbolFile;
            if (!arg.value(file, reason))
                return false;
        } else if (name == "--fill" || name == "--range") {
            if (!arg.value(name == "--fill" ? options.fill : options.range, reason))
                return false;
            fillOrRange = true;
        } else if (arg.isOption()) {
            reason = "unknown option " + name;
            return false;
        } else if (name.empty()) {
            reason = "an empty argument names no SOURCE";
            return false;
        } else if (!options.source.empty()) {
            reason = "one SOURCE only, and " + name + " is a second";
            return false;
        } else {
            options.source = name;
        }
    }
    if (runOption && !options.live) {
        reason = "--max-states and --input shape the run of --live";
        return false;
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
    if (options.source.empty())
        reason = "no SOURCE given";
    return !options.source.empty();
}

// A file the command writes, as the options name it.
struct Output {
    enum Kind { hex, image, symbols } kind;
    std::string option; // "-o FILE", or how the file is chosen when no option names it
    std::string path;
    std::string contents;
};

std::vector<Output> outputsOf(const Options& options) {
    std::vector<Output> outputs;
    if (options.hexFile.empty())
        outputs.push_back({Output::hex, "the HEX file beside the source", hexPathFor(options.source), {}});
    else
        outputs.push_back({Output::hex, "-o " + options.hexFile, options.hexFile, {}});
    if (!options.binaryFile.empty())
        outputs.push_back({Output::image, "-b " + options.binaryFile, options.binaryFile, {}});
    if (!options.symbolFile.empty())
        outputs.push_back({Output::symbols, "-s " + options.symbolFile, options.symbolFile, {}});
    return outputs;
}

// Two outputs that would write one file leave only the last: refused before anything is read.
bool outputsCollide(const std::vector<Output>& outputs, std::ostream& err) {
    for (std::size_t i = 0; i < outputs.size(); ++i)
        for (std::size_t j = i + 1; j < outputs.size(); ++j)
            if (outputs[i].path != standardOutput && outputs[j].path != standardOutput &&
                isSameDestination(outputs[i].path, outputs[j].path)) {
                err << program << ": " << outputs[i].option << " and " << outputs[j].option
                    << " would write one file\n";
                return true;
            }
    return false;
}

// The image -b asks for; false, with the reason told, when the options or the program do not make one.
bool imageOf(const Assembly& assembly, const SourceFile& file, const Options& options, std::string& image,
             std::ostream& err) {
    const std::optional<std::uint32_t> fill = file.evaluateArgument(options.fill);
    if (!fill || *fill > 0377) {
        err << program << ": --fill " << options.fill << ": not a byte (0 to 377B)\n";
        return false;
    }
    std::optional<AddressRange> range;
    if (!options.range.empty()) {
        std::string reason;
        range = parseAddressRange(
            options.range, [&](const std::string& address) { return file.evaluateArgument(address); },
            reason);
        if (!range) {
            err << program << ": --range " << options.range << ": " << reason << '\n';
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

// The HEX file, the binary image and the symbol table asked for, once the program
// has no errors: every file written whole, or none of them, and never over the source.
bool writeOutputs(const Assembly& assembly, const SourceFile& file, const Options& options,
                  std::vector<Output>& outputs, std::ostream& out, std::ostream& err) {
    for (Output& output : outputs) {
        switch (output.kind) {
        case Output::hex:
            output.contents = intelHexOf(assembly);
            break;
        case Output::image:
            if (!imageOf(assembly, file, options, output.contents, err))
                return false;
            break;
        case Output::symbols:
            output.contents = symbolTableText(assembly);
            break;
        }
    }
    FileReplacements files;
    for (const Output& output : outputs) {
        if (output.path == standardOutput)
            continue;
        std::string reason = "it is the source file";
        if (isSameFile(output.path, options.source) || !files.add(output.path, output.contents, reason)) {
            err << program << ": cannot write " << output.path << ": " << reason << '\n';
            return false;
        }
    }
    for (const Output& output : outputs)
        if (output.path == standardOutput) {
            out << output.contents;
            if (!reachedStandardOutput(out, program, err))
                return false;
        }
    std::string failedPath, reason;
    if (!files.commit(failedPath, reason)) {
        err << program << ": cannot write " << failedPath << ": " << reason << '\n';
        return false;
    }
    return true;
}

// The run of --live, or none, told on `err`, when its input cannot be read.
std::optional<LiveResult> liveRunOf(const Assembly& assembly, const Options& options, std::ostream& err) {
    std::string keys, reason;
    if (!options.input.empty() && !readWholeFile(options.input, keys, reason)) {
        err << program << ": cannot read " << options.input << ": " << reason << '\n';
        return std::nullopt;
    }
    LiveRun run(Program(assembly), options.maxStates, keys);
    while (!run.advance(options.maxStates)) {
    }
    return run.result();
}

// A line's executions and states, right-aligned before its listing row; blank for a line without code.
std::string liveFigures(const LiveResult& live, std::size_t line) {
    constexpr std::size_t executionsWidth = 10, statesWidth = 12, gap = 2;
    const auto aligned = [](std::uint64_t number, std::size_t width) {
        const std::string digits = std::to_string(number);
        return std::string(width > digits.size() ? width - digits.size() : 0, ' ') + digits;
    };
    if (line >= live.lines.size() || !live.lines[line].hasCode)
        return std::string(executionsWidth + statesWidth + gap, ' ');
    return aligned(live.lines[line].executions, executionsWidth) +
           aligned(live.lines[line].states, statesWidth) + std::string(gap, ' ');
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (const std::optional<int> answered = answerHelpOrVersion(args, {program, usage, help}, out, err))
        return *answered;
    Options options;
    std::string reason;
    if (!parse(args, options, reason)) {
        err << program << ": " << reason << '\n';
        err << usage;
        return exitFailure;
    }
    std::vector<Output> outputs = outputsOf(options);
    if (outputsCollide(outputs, err))
        return exitFailure;
    SourceFile file;
    if (!file.load(options.source, reason)) {
        err << program << ": cannot read " << options.source << ": " << reason << '\n';
        return exitFailure;
    }
    const Assembly& assembly = file.assemble();

    int status = assembly.errorCount > 0 ? exitSourceErrors : exitSuccess;
    if (options.listing) {
        std::optional<LiveResult> live;
        if (options.live && assembly.errorCount == 0 && !(live = liveRunOf(assembly, options, err)))
            return exitFailure;
        writeListing(
            out, assembly, [&](std::size_t line) { return file.text().line(line); },
            live ? LinePrefix([&](std::size_t line) { return liveFigures(*live, line); }) : LinePrefix());
        if (live)
            out << "\nLive run: " << live->endingText << '\n';
        if (options.crossReference)
            out << crossReferenceText(assembly);
        if (!reachedStandardOutput(out, program, err))
            status = exitFailure;
    }
    writeDiagnostics(err, options.source, file.text(), assembly, options.warnings);
    if (status == exitSuccess && !writeOutputs(assembly, file, options, outputs, out, err))
        status = exitFailure;
    const std::string result = resultText(assembly.errorCount, assembly.bytesAssembled);
    if (!result.empty())
        err << result << '\n';
    return status;
}
