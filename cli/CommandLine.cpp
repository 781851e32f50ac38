#include "CommandLine.h"

#include "Brenvik.h"
#include "Files.h"
#include "HeadlessTextArea.h"
#include "IntelHex.h"
#include "Report.h"
#include "ResultText.h"
#include "SourceFile.h"

namespace {

constexpr int exitClean = 0;
constexpr int exitSourceErrors = 1;
constexpr int exitFailure = 2;

constexpr const char* usage = "usage: brenvik-asm [-o HEXFILE | -o -] [-l] SOURCE\n";

struct Options {
    std::string source;
    std::string hexFile; // empty: beside the source; "-": standard output
    bool listing = false;
};

// Returns false on a usage error.
bool parse(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-l") {
            options.listing = true;
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

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    if (!parse(args, options)) {
        err << usage;
        return exitFailure;
    }

    std::string bytes, reason;
    if (!readWholeFile(options.source, bytes, reason)) {
        err << "brenvik-asm: cannot read " << options.source << ": " << reason << '\n';
        return exitFailure;
    }
    SourceFile source = decodeSource(bytes);
    HeadlessTextArea textArea(source.lines);
    TBrenvikEngine engine(textArea);
    engine.run();

    if (options.listing)
        writeListing(out, engine, source);
    writeErrors(err, options.source, source, textArea.errorColumns());

    int status = engine.GetErrorCount() > 0 ? exitSourceErrors : exitClean;
    if (status == exitClean) {
        const std::string hex = intelHexOf(engine);
        if (options.hexFile == "-") {
            out << hex;
        } else {
            const std::string path = options.hexFile.empty() ? hexPathFor(options.source) : options.hexFile;
            if (!replaceFile(path, hex, reason)) {
                err << "brenvik-asm: cannot write " << path << ": " << reason << '\n';
                status = exitFailure;
            }
        }
    }
    const std::string result = resultText(engine.GetErrorCount(), engine.BytesAssembled());
    if (!result.empty())
        err << result << '\n';
    return status;
}
