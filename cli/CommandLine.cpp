#include "CommandLine.h"

#include "Files.h"
#include "IntelHex.h"
#include "Report.h"
#include "ResultText.h"
#include "SourceFile.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr int exitClean = 0;
constexpr int exitSourceErrors = 1;
constexpr int exitFailure = 2;

constexpr const char* program = "brenvik-asm";
constexpr const char* usage = "usage: brenvik-asm [-w] [-l] [-o HEXFILE | -o -] SOURCE\n";

struct Options {
    std::string source;
    std::string hexFile; // empty: beside the source; "-": standard output
    bool listing = false;
    bool warnings = true;
};

// Returns false on a usage error.
bool parse(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-l") {
            options.listing = true;
        } else if (arg == "-w") {
            options.warnings = false;
        } else if (arg == "-o") {
            if (++i == args.size() || args[i].empty())
                return false;
            options.hexFile = args[i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return false;
        } else if (options.source.empty() && !arg.empty()) {
            options.source = arg;
        } else {
            return false;
        }
    }
    return !options.source.empty();
}

// Whether everything written to `out` so far has reached it; says why not.
bool reached(std::ostream& out, std::ostream& err) {
    if (out.flush())
        return true;
    const int reason = errno;
    err << program << ": cannot write standard output: " << (reason != 0 ? std::strerror(reason) : "write error")
        << '\n';
    return false;
}

// Writes the HEX file, anywhere but over the source.
bool writeHex(const std::string& hex, const Options& options, std::ostream& out, std::ostream& err) {
    if (options.hexFile == "-") {
        out << hex;
        return reached(out, err);
    }
    const std::string path = options.hexFile.empty() ? hexPathFor(options.source) : options.hexFile;
    std::string reason = "it is the source file";
    if (isSameFile(path, options.source) || !replaceFile(path, hex, reason)) {
        err << program << ": cannot write " << path << ": " << reason << '\n';
        return false;
    }
    return true;
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    if (!parse(args, options)) {
        err << usage;
        return exitFailure;
    }
    SourceFile file;
    std::string reason;
    if (!file.load(options.source, reason)) {
        err << program << ": cannot read " << options.source << ": " << reason << '\n';
        return exitFailure;
    }
    const Assembly& assembly = file.assemble();

    int status = assembly.errorCount > 0 ? exitSourceErrors : exitClean;
    if (options.listing) {
        writeListing(out, assembly, file.text());
        if (!reached(out, err))
            status = exitFailure;
    }
    writeDiagnostics(err, options.source, file.text(), assembly, options.warnings);
    if (status == exitClean && !writeHex(intelHexOf(assembly), options, out, err))
        status = exitFailure;
    const std::string result = resultText(assembly.errorCount, assembly.bytesAssembled);
    if (!result.empty())
        err << result << '\n';
    return status;
}
