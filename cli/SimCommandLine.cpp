#include "SimCommandLine.h"

#include "CodeFormat.h"
#include "CommandConventions.h"
#include "Disassembler.h"
#include "Files.h"
#include "Instructions.h"
#include "IntelHex.h"
#include "Machine.h"
#include "Profile.h"
#include "Program.h"
#include "PseudoTerminal.h"
#include "RealTimePace.h"
#include "Report.h"
#include "ResultText.h"
#include "Runner.h"
#include "SourceFile.h"
#include "SourceText.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <thread>

namespace {

constexpr int exitHalted = exitSuccess;
constexpr int exitStopped = 3;
constexpr int exitEndOfInput = 4;

constexpr const char* program = "brenvik-sim";
constexpr const char* usage =
    "usage: brenvik-sim [--start ADDR] [--load ADDR] [--max-states N] [--input "
    "FILE] [--registers] [--trace]\n"
    "                   [--profile FILE] [-w] [--machine NAME] [--memory KIB] [--rom FILE]\n"
    "                   [--pty] [--speed full|real] PROGRAM\n"
    "       brenvik-sim --machine NAME --rom FILE [OPTION...]\n"
    "       brenvik-sim --list-machines\n";

// What --help adds below the usage.
constexpr const char* help =
    "Run an Intel 8008 program on a simulated machine, by default one with 16 KiB of memory and a\n"
    "console: its screen (or a board's serial terminal) on standard output, its keyboard on standard\n"
    "input.\n"
    "\n"
    "PROGRAM is an assembly source (.asm), an Intel HEX file (.hex) or a binary image.\n"
    "\n"
    "  --start ADDR         start at ADDR (0 unless given): 20000B, 8192, 0x2000, 2000H or a label\n"
    "  --load ADDR          load a binary image at ADDR (0 unless given)\n"
    "  --max-states N       stop after N states\n"
    "  --input FILE         take the keys from FILE\n"
    "  --registers          print the registers and flags at the end on standard error\n"
    "  --trace              print every instruction as it runs on standard error\n"
    "  --profile FILE       write where the run's states went, line by line, to FILE (- for standard\n"
    "                       error): executions, states and share of each line that ran, the most first\n"
    "  -w                   leave out the source's warnings\n"
    "  --machine NAME       run on machine NAME (console unless given); --list-machines names them\n"
    "  --memory KIB         the machine's RAM in KiB, where it can be chosen (scelbi: 1 to 16, 16\n"
    "                       unless given)\n"
    "  --rom FILE           the machine's ROM image, bank 0 first; PROGRAM may then be left out\n"
    "  --list-machines      list the machines, each with what it has, and exit\n"
    "  --pty                open a pseudo-terminal for the machine's terminal, print its path and run\n"
    "                       with a terminal program attached there (picocom PATH): keys and screen\n"
    "                       byte for byte, as on the board's serial port\n"
    "  --speed full|real    run as fast as this computer goes (full, unless given) or at the machine's\n"
    "                       own clock (real)\n"
    "  --help               show this help and exit\n"
    "  --version            show the version and exit\n"
    "\n"
    "Exit status: 0 halted, 1 the source has errors, 2 a file could not be read or a program\n"
    "loaded, or wrong arguments, 3 stopped by --max-states or an undefined opcode, 4 waiting for a\n"
    "key at the end of the input.\n";

// States a run goes in one go before it looks for keys and shows the screen:
// about a millisecond at full speed.
constexpr std::uint64_t statesPerSlice = std::uint64_t{1} << 18;
// How long a run at the machine's own clock sleeps once it is ahead of it.
constexpr auto realTimeTick = std::chrono::milliseconds(10);

struct Options {
    std::string program;
    std::string start = "0";
    std::string load = "0";
    std::optional<std::uint64_t> maxStates;
    std::string input;
    std::string profile; // empty for none; "-" for standard error
    bool registers = false;
    bool trace = false;
    bool warnings = true;
    const MachineDescription* machine = &consoleMachine();
    std::string rom;
    bool listMachines = false;
    bool pty = false;
    bool realSpeed = false;
    std::string memory; // KiB, as given; empty for the machine's own
};

std::string machineNames() {
    std::string names;
    for (const MachineDescription* machine : allMachines())
        names += (names.empty() ? "" : ", ") + machine->name;
    return names;
}

// Returns false on a usage error, with the reason.
bool parse(const std::vector<std::string>& args, Options& options, std::string& reason) {
    ArgumentReader arg(args);
    while (arg.next()) {
        const std::string& name = arg.name();
        std::string value;
        if (name == "--registers" || name == "--trace" || name == "-w" || name == "--list-machines" ||
            name == "--pty") {
            if (arg.hasValue()) {
                reason = name + " takes no value";
                return false;
            }
            if (name == "--registers")
                options.registers = true;
            else if (name == "--list-machines")
                options.listMachines = true;
            else if (name == "--trace")
                options.trace = true;
            else if (name == "--pty")
                options.pty = true;
            else
                options.warnings = false;
        } else if (name == "--start" || name == "--load" || name == "--input" || name == "--max-states" ||
                   name == "--profile" || name == "--machine" || name == "--rom" || name == "--speed" ||
                   name == "--memory") {
            if (!arg.value(value, reason))
                return false;
            if (name == "--machine") {
                if (!(options.machine = machineNamed(value))) {
                    reason = "--machine " + value + ": no such machine (" + machineNames() + ")";
                    return false;
                }
            } else if (name == "--speed") {
                if (value != "full" && value != "real") {
                    reason = "--speed " + value + ": full or real";
                    return false;
                }
                options.realSpeed = value == "real";
            } else if (name == "--rom")
                options.rom = value;
            else if (name == "--memory")
                options.memory = value;
            else if (name == "--start")
                options.start = value;
            else if (name == "--load")
                options.load = value;
            else if (name == "--input")
                options.input = value;
            else if (name == "--profile")
                options.profile = value;
            else if (!(options.maxStates = decimalCount(value))) {
                reason = "--max-states " + value + ": not a number of states (decimal digits only)";
                return false;
            }
        } else if (arg.isOption()) {
            reason = "unknown option " + name;
            return false;
        } else if (name.empty()) {
            reason = "an empty argument names no PROGRAM";
            return false;
        } else if (!options.program.empty()) {
            reason = "one PROGRAM only, and " + name + " is a second";
            return false;
        } else {
            options.program = name;
        }
    }
    if (!options.memory.empty()) {
        const std::optional<std::uint64_t> kib = decimalCount(options.memory);
        const MachineDescription* sized = kib && *kib <= std::numeric_limits<unsigned>::max()
                                              ? withMemory(*options.machine, static_cast<unsigned>(*kib))
                                              : nullptr;
        if (!sized) {
            reason = "--memory " + options.memory + ": " +
                     (withMemory(*options.machine, 1)
                          ? "not a size the " + options.machine->name + " machine takes"
                          : "the " + options.machine->name + " machine's memory is fixed");
            return false;
        }
        options.machine = sized;
    }
    if (!options.rom.empty() && !options.machine->romWindow) {
        reason = "--rom " + options.rom + ": the " + options.machine->name + " machine has no ROM";
        return false;
    }
    if (options.pty && !options.input.empty()) {
        reason = "--pty and --input " + options.input + " would both give the keys";
        return false;
    }
    if (options.program.empty() && options.rom.empty() && !options.listMachines) {
        reason = "no PROGRAM given";
        return false;
    }
    return true;
}

std::string machineList() {
    std::string list;
    for (const MachineDescription* machine : allMachines())
        list += machine->name + std::string(std::max<std::size_t>(12 - machine->name.size(), 2), ' ') +
                machine->summary + "\n";
    return list;
}

std::string extensionOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// A, B ... L, the flags and the stack pointer, as the trace and the final line show them.
std::string registerText(const Cpu& cpu) {
    static constexpr char names[] = "ABCDEHL";
    std::string text;
    for (std::size_t r = 0; r < cpu.registers.size(); ++r)
        text += std::string(1, names[r]) + "=" + octalText(cpu.registers[r], 3) + " ";
    text += "CY=" + std::to_string(cpu.carry) + " Z=" + std::to_string(cpu.zero) +
            " S=" + std::to_string(cpu.sign) + " P=" + std::to_string(cpu.parity) +
            " SP=" + std::to_string(cpu.stackPointer);
    return text;
}

// The program to run, or a reason to exit with; the source file, if it is one,
// keeps its symbols for --start.
class Loader {
  public:
    Loader(const Options& options, std::ostream& err) : options(options), err(err) {}

    std::optional<int> load(SourceFile& symbols, Program& loaded) {
        const std::string extension = extensionOf(options.program);
        if (extension == "asm")
            return loadSource(symbols, loaded);
        symbols.setBytes({});
        symbols.assemble();
        std::string bytes, reason;
        if (extension == "hex") {
            if (!readWholeFile(options.program, bytes, reason))
                return fail("cannot read " + options.program + ": " + reason);
            return loadHex(bytes, loaded);
        }
        const std::optional<std::uint32_t> at = addressOption("--load", options.load, symbols);
        if (!at)
            return exitFailure;
        // One byte more than fits is enough to know that the image does not.
        if (!readFileStart(options.program, Machine::memorySize - *at + 1, bytes, reason))
            return fail("cannot read " + options.program + ": " + reason);
        for (std::size_t i = 0; i < bytes.size(); ++i)
            loaded.put(static_cast<std::uint32_t>(*at + i), static_cast<std::uint8_t>(bytes[i]));
        return fits(loaded);
    }

    // The address an option names, or none, told, when it names no address in memory.
    std::optional<std::uint32_t> addressOption(const char* option, const std::string& value,
                                               const SourceFile& symbols) {
        const std::optional<std::uint32_t> address = symbols.evaluateArgument(value);
        if (address && *address < Machine::memorySize)
            return address;
        fail(std::string(option) + " " + value + ": no address in memory (000000B to 037777B)");
        return std::nullopt;
    }

  private:
    std::optional<int> fail(const std::string& message) {
        err << program << ": " << message << '\n';
        return exitFailure;
    }

    std::optional<int> fits(const Program& loaded) {
        const std::string problem = loaded.loadProblem();
        if (problem.empty())
            return std::nullopt;
        return fail(options.program + ": " + problem);
    }

    std::optional<int> loadSource(SourceFile& source, Program& loaded) {
        std::string reason;
        if (!source.load(options.program, reason))
            return fail("cannot read " + options.program + ": " + reason);
        const Assembly& assembly = source.assemble();
        writeDiagnostics(err, options.program, source.text(), assembly, options.warnings);
        if (assembly.errorCount > 0) {
            err << resultText(assembly.errorCount, assembly.bytesAssembled) << '\n';
            return exitSourceErrors;
        }
        loaded = Program(assembly);
        return fits(loaded);
    }

    std::optional<int> loadHex(const std::string& text, Program& loaded) {
        std::size_t line = 0;
        std::string reason;
        if (!readIntelHex(
                text, [&](std::uint32_t address, std::uint8_t byte) { loaded.put(address, byte); }, line,
                reason))
            return fail(options.program + (line > 0 ? ":" + std::to_string(line) : "") + ": " + reason);
        return fits(loaded);
    }

    const Options& options;
    std::ostream& err;
};

// A stop's text as a command-line message starts: in lower case.
std::string asMessage(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

// Where the machine's terminal is: the screen's stream and its name in messages.
struct Screen {
    std::ostream& out;
    std::string name;
};

class Simulation {
  public:
    Simulation(const Options& options, Runner& runner, const SourceFile& source, KeySource& keys,
               const Screen& screen, std::ostream& err)
        : options(options), runner(runner), machine(runner.machine()), source(source), keys(keys),
          screen(screen), err(err) {}

    int run() {
        RealTimePace pace;
        pace.restart(options.machine->clockHertz, machine.states);
        for (;;) {
            feed(false);
            if (options.maxStates && machine.states >= *options.maxStates)
                return stop(exitStopped,
                            "stopped after " + std::to_string(machine.states) + " states (--max-states)");
            std::uint64_t budget = options.maxStates
                                       ? std::min(*options.maxStates - machine.states, statesPerSlice)
                                       : statesPerSlice;
            if (options.realSpeed && (budget = pace.due(machine.states, budget)) == 0) {
                std::this_thread::sleep_for(realTimeTick);
                continue;
            }
            const std::optional<Stop> stopped = options.trace ? traceSlice(budget) : runner.advance(budget);
            if (!show())
                return stop(exitFailure, {});
            // A trace that cannot be written is lost output, as the screen's would be.
            if (options.trace && !err)
                return stop(exitFailure, "cannot write standard error");
            if (!stopped) {
                // At the machine's clock the polls go on, as they spend its time;
                // at full speed they would only heat this computer.
                if (runner.waitingForInput() && !options.realSpeed)
                    feed(true);
                continue;
            }
            switch (stopped->reason) {
            case StopReason::halted:
                return stop(exitHalted, {});
            case StopReason::endOfInput:
                return stop(exitEndOfInput, asMessage(stopped->text));
            default:
                return stop(exitStopped, asMessage(stopped->text));
            }
        }
    }

  private:
    void feed(bool wait) {
        const std::string typed = keys.read(wait);
        if (!typed.empty())
            runner.type(typed);
        if (keys.ended())
            if (TerminalDevice* terminal = machine.ports.terminal())
                terminal->endInput();
    }

    // Hands the screen's new text on; false, told on `err`, when it cannot be written.
    bool show() {
        const std::string text = runner.takeScreen();
        if (!text.empty())
            screen.out << text;
        return reachedOutput(screen.out, screen.name, program, err);
    }

    // One instruction at a time, each written to standard error as it ran.
    std::optional<Stop> traceSlice(std::uint64_t budget) {
        const std::uint64_t end = machine.states + budget;
        StopReason reason = StopReason::budget;
        while (reason == StopReason::budget && machine.states < end) {
            const std::uint16_t at = machine.cpu.pc();
            const auto byte = [&](unsigned i) { return machine.memory[(at + i) % Machine::memorySize]; };
            std::string bytes;
            for (unsigned i = 0; i < timingOf(byte(0)).length; ++i)
                bytes += octalText(byte(i), 3) + " ";
            bytes.resize(std::max<std::size_t>(bytes.size(), 12), ' ');
            const std::string instruction =
                disassemble(byte(0), static_cast<std::uint16_t>(byte(1) | byte(2) << 8));
            reason = machine.run(end - machine.states, 1);
            if (reason == StopReason::undefinedOpcode)
                break;
            err << octalText(at, 6) << "  " << bytes << instruction
                << std::string(instruction.size() < 16 ? 16 - instruction.size() : 1, ' ')
                << registerText(machine.cpu) << '\n';
        }
        if (reason == StopReason::budget || reason == StopReason::waitingForKeys)
            return std::nullopt;
        return Stop{reason, runner.stopText(reason)};
    }

    int stop(int status, const std::string& message) {
        if (!message.empty())
            err << program << ": " << message << '\n';
        if (options.registers)
            err << "PC=" << octalText(machine.cpu.pc(), 6) << ' ' << registerText(machine.cpu)
                << " states=" << machine.states << " instructions=" << machine.instructions << '\n';
        if (!options.profile.empty() && !writeProfile())
            return exitFailure;
        return status;
    }

    bool writeProfile() {
        const std::string text =
            profileText(profileOf(runner.program(), *machine.counts), machine,
                        [&](std::size_t line) { return std::u16string(source.text().line(line)); });
        if (options.profile == "-") {
            err << text;
            return static_cast<bool>(err);
        }
        std::string reason;
        if (replaceFile(options.profile, text, reason))
            return true;
        err << program << ": cannot write " << options.profile << ": " << reason << '\n';
        return false;
    }

    const Options& options;
    Runner& runner;
    Machine& machine;
    const SourceFile& source;
    KeySource& keys;
    const Screen& screen;
    std::ostream& err;
};

} // namespace

int runSimulator(const std::vector<std::string>& args, KeySource& standardInput, std::ostream& out,
                 std::ostream& err) {
    if (const std::optional<int> answered = answerHelpOrVersion(args, {program, usage, help}, out, err))
        return *answered;
    Options options;
    std::string reason;
    if (!parse(args, options, reason)) {
        err << program << ": " << reason << '\n' << usage;
        return exitFailure;
    }
    if (options.listMachines) {
        out << machineList();
        return reachedStandardOutput(out, program, err) ? exitSuccess : exitFailure;
    }
    SourceFile symbols;
    Program loaded;
    Loader loader(options, err);
    if (options.program.empty()) {
        symbols.setBytes({}); // the ROM alone: no symbols for --start
        symbols.assemble();
    } else if (const std::optional<int> failed = loader.load(symbols, loaded)) {
        return *failed;
    }
    const std::optional<std::uint32_t> start = loader.addressOption("--start", options.start, symbols);
    if (!start)
        return exitFailure;
    Runner runner(*options.machine);
    if (!options.rom.empty()) {
        std::string image;
        if (!readWholeFile(options.rom, image, reason)) {
            err << program << ": cannot read " << options.rom << ": " << reason << '\n';
            return exitFailure;
        }
        if (!runner.setRom(std::vector<std::uint8_t>(image.begin(), image.end()), reason)) {
            err << program << ": --rom " << options.rom << ": " << reason << '\n' << usage;
            return exitFailure;
        }
    }
    runner.keepHistory(false);
    runner.countExecutions(!options.profile.empty());
    runner.load(loaded, reason);
    runner.machine().cpu.setPc(static_cast<std::uint16_t>(*start));
    runner.runOn();

    // Keys from a file are read as the program asks for them, so that a pipe's
    // writer and the program can take turns.
    std::optional<FileKeys> fileKeys;
    if (!options.input.empty()) {
        fileKeys.emplace(options.input);
        if (!fileKeys->opened(reason)) {
            err << program << ": cannot read " << options.input << ": " << reason << '\n';
            return exitFailure;
        }
    }
    std::optional<PseudoTerminal> pty;
    if (options.pty) {
        pty.emplace();
        if (!pty->opened(reason)) {
            err << program << ": " << reason << '\n';
            return exitFailure;
        }
        if (TerminalDevice* terminal = runner.machine().ports.terminal())
            terminal->keepScreenAsSent(true);
        out << pty->path() << '\n';
        if (!reachedStandardOutput(out, program, err))
            return exitFailure;
    }
    KeySource& keys = pty ? pty->keys() : fileKeys ? *fileKeys : standardInput;
    const Screen screen = pty ? Screen{pty->screen(), pty->path()} : Screen{out, "standard output"};
    const int status = Simulation(options, runner, symbols, keys, screen, err).run();
    // What the program sent is not lost with the pseudo-terminal: it stays until read.
    if (pty && pty->unread()) {
        err << program << ": waiting for a terminal program to read what the program sent from "
            << pty->path() << '\n';
        pty->drain();
    }
    return status;
}
