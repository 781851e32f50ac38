// The interpreter: one case per opcode, its code generated from the opcode's
// octal fields at compile time, and the chip's registers in the host's for the
// length of a run. That takes few enough values for the host's registers: a
// countdown of states, the carry among the flags, B to L in one value, and a
// PC as wide as the host's registers; and no call from the interpreter, which
// leaves INP and OUT to its caller.

#include "Machine.h"

#include "Instructions.h"

#include <algorithm>
#include <bit>
#include <utility>

// The interpreter's helpers are inlined into each opcode's code, whatever the
// compiler's size limits: called, they would keep the registers in memory.
#define BRENVIK_INLINE __attribute__((always_inline))

namespace {

constexpr std::uint16_t addressMask = Cpu::addressMask;
constexpr std::uint8_t stackMask = Cpu::stackSlots - 1;

// The flags as bits of one value: zero, sign and parity of each result from one
// lookup, and the carry beside them.
enum FlagBit : std::uint8_t { zeroBit = 1, signBit = 2, parityBit = 4, carryBit = 8 };
constexpr std::array<std::uint8_t, 256> resultFlags = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned v = 0; v < 256; ++v)
        table[v] = static_cast<std::uint8_t>((v == 0 ? zeroBit : 0) | (v & 0x80 ? signBit : 0) |
                                             (std::popcount(v) % 2 == 0 ? parityBit : 0));
    return table;
}();

// A to L as the interpreter keeps them: A on its own, and B to L as the bytes of
// one host register. Kept apart, seven values besides the PC and the rest are
// more than the host's registers, and the compiler keeps them in memory.
class Registers {
  public:
    explicit Registers(const std::array<std::uint8_t, 7>& from) : a(from[Cpu::A]) {
        for (unsigned code = Cpu::B; code <= Cpu::L; ++code)
            others |= std::uint64_t{from[code]} << shiftOf(code);
    }
    std::array<std::uint8_t, 7> all() const {
        std::array<std::uint8_t, 7> to{};
        to[Cpu::A] = a;
        for (unsigned code = Cpu::B; code <= Cpu::L; ++code)
            to[code] = static_cast<std::uint8_t>(others >> shiftOf(code));
        return to;
    }

    template <unsigned code> BRENVIK_INLINE std::uint8_t get() const {
        if constexpr (code == Cpu::A)
            return a;
        else
            return static_cast<std::uint8_t>(others >> shiftOf(code));
    }
    template <unsigned code> BRENVIK_INLINE void set(std::uint8_t value) {
        if constexpr (code == Cpu::A)
            a = value;
        else
            others = (others & ~(std::uint64_t{0xFF} << shiftOf(code))) | std::uint64_t{value}
                                                                              << shiftOf(code);
    }
    // The address of M: H's low six bits, then L; L and H are neighbours for it.
    BRENVIK_INLINE unsigned hl() const {
        return static_cast<unsigned>(others >> shiftOf(Cpu::L)) & Cpu::addressMask;
    }

    std::uint8_t a;

  private:
    // B, C, D and E in the low bytes, then L and H.
    static constexpr unsigned shiftOf(unsigned code) {
        return 8 * (code == Cpu::H ? 5 : code == Cpu::L ? 4 : code - Cpu::B);
    }
    std::uint64_t others = 0;
};

// The flag a condition tests (0 carry, 1 zero, 2 sign, 3 parity) as its bit.
constexpr std::uint8_t conditionBits[] = {carryBit, zeroBit, signBit, parityBit};

} // namespace

Machine::Machine() : Machine(consoleMachine()) {}

Machine::Machine(const MachineDescription& description) : built(&description) {
    memory.fill(absentByte);
    for (const MemoryRegion& region : description.regions) {
        const std::uint32_t end = std::min<std::uint32_t>(region.first + region.size, memorySize);
        std::fill(memory.begin() + region.first, memory.begin() + end,
                  region.kind == MemoryRegion::ram ? 0 : absentByte);
        for (std::uint32_t page = region.first >> pageBits; page < (end + (1u << pageBits) - 1) >> pageBits;
             ++page)
            writable[page] = region.kind == MemoryRegion::ram;
    }
    if (description.wireDevices)
        description.wireDevices(ports);
    reset();
}

bool Machine::setRom(std::vector<std::uint8_t> image) {
    if (!built->romWindow)
        return false;
    rom = std::make_shared<const std::vector<std::uint8_t>>(std::move(image));
    reset();
    return true;
}

unsigned Machine::romBanks() const {
    if (!built->romWindow || !rom)
        return 0;
    return static_cast<unsigned>((rom->size() + built->romWindow->size - 1) / built->romWindow->size);
}

void Machine::selectRomBank(unsigned bank) {
    const std::optional<RomWindow>& window = built->romWindow;
    if (!window)
        return;
    romBank = (std::bit_ceil(std::max(romBanks(), 1u)) - 1) & bank;
    const std::size_t from = static_cast<std::size_t>(romBank) * window->size;
    for (std::uint32_t i = 0; i < window->size; ++i)
        memory[window->first + i] = rom && from + i < rom->size() ? (*rom)[from + i] : absentByte;
}

void Machine::reset() {
    cpu = Cpu{};
    states = instructions = 0;
    callDepth = 0;
    lostReturnSlot.reset();
    jammed = built->resetInstruction;
    endBootOverlay(); // the RAM it hid is there again, to be hidden afresh
    selectRomBank(0);
    if (built->bootOverlay && rom) {
        const std::uint32_t size = std::min<std::uint32_t>(built->bootOverlay->size, memorySize);
        bootRamUnder.emplace(memory.begin(), memory.begin() + size);
        for (std::uint32_t i = 0; i < size; ++i)
            memory[i] = i < rom->size() ? (*rom)[i] : absentByte;
    }
}

void Machine::endBootOverlay() {
    if (!bootRamUnder)
        return;
    std::copy(bootRamUnder->begin(), bootRamUnder->end(), memory.begin());
    bootRamUnder.reset();
}

void Machine::countExecutions(bool on) {
    counts = on ? std::make_shared<ExecutionCounts>(ExecutionCounts{std::vector<std::uint64_t>(memorySize),
                                                                    std::vector<std::uint64_t>(memorySize)})
                : nullptr;
}

StopReason Machine::run(std::uint64_t stateBudget, std::uint64_t instructionBudget) {
    return run(Stops{}, stateBudget, instructionBudget);
}

StopReason Machine::run(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget) {
    const bool debugging =
        stops.breakpoints || stops.returnBelowDepth || instructionBudget != unlimited || jammed;
    const bool counting = counts != nullptr;
    if (debugging)
        return counting ? execute<true, true>(stops, stateBudget, instructionBudget)
                        : execute<true, false>(stops, stateBudget, instructionBudget);
    return counting ? execute<false, true>(stops, stateBudget, instructionBudget)
                    : execute<false, false>(stops, stateBudget, instructionBudget);
}

// Every opcode, for code generated per opcode.
// clang-format off
#define BRENVIK_OPCODES(X) \
    X(0) X(1) X(2) X(3) X(4) X(5) X(6) X(7) X(8) X(9) X(10) X(11) X(12) X(13) X(14) X(15) \
    X(16) X(17) X(18) X(19) X(20) X(21) X(22) X(23) X(24) X(25) X(26) X(27) X(28) X(29) X(30) X(31) \
    X(32) X(33) X(34) X(35) X(36) X(37) X(38) X(39) X(40) X(41) X(42) X(43) X(44) X(45) X(46) X(47) \
    X(48) X(49) X(50) X(51) X(52) X(53) X(54) X(55) X(56) X(57) X(58) X(59) X(60) X(61) X(62) X(63) \
    X(64) X(65) X(66) X(67) X(68) X(69) X(70) X(71) X(72) X(73) X(74) X(75) X(76) X(77) X(78) X(79) \
    X(80) X(81) X(82) X(83) X(84) X(85) X(86) X(87) X(88) X(89) X(90) X(91) X(92) X(93) X(94) X(95) \
    X(96) X(97) X(98) X(99) X(100) X(101) X(102) X(103) X(104) X(105) X(106) X(107) X(108) X(109) X(110) X(111) \
    X(112) X(113) X(114) X(115) X(116) X(117) X(118) X(119) X(120) X(121) X(122) X(123) X(124) X(125) X(126) X(127) \
    X(128) X(129) X(130) X(131) X(132) X(133) X(134) X(135) X(136) X(137) X(138) X(139) X(140) X(141) X(142) X(143) \
    X(144) X(145) X(146) X(147) X(148) X(149) X(150) X(151) X(152) X(153) X(154) X(155) X(156) X(157) X(158) X(159) \
    X(160) X(161) X(162) X(163) X(164) X(165) X(166) X(167) X(168) X(169) X(170) X(171) X(172) X(173) X(174) X(175) \
    X(176) X(177) X(178) X(179) X(180) X(181) X(182) X(183) X(184) X(185) X(186) X(187) X(188) X(189) X(190) X(191) \
    X(192) X(193) X(194) X(195) X(196) X(197) X(198) X(199) X(200) X(201) X(202) X(203) X(204) X(205) X(206) X(207) \
    X(208) X(209) X(210) X(211) X(212) X(213) X(214) X(215) X(216) X(217) X(218) X(219) X(220) X(221) X(222) X(223) \
    X(224) X(225) X(226) X(227) X(228) X(229) X(230) X(231) X(232) X(233) X(234) X(235) X(236) X(237) X(238) X(239) \
    X(240) X(241) X(242) X(243) X(244) X(245) X(246) X(247) X(248) X(249) X(250) X(251) X(252) X(253) X(254) X(255)
// clang-format on

template <bool debugging, bool counting>
StopReason Machine::execute(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget) {
    const std::uint64_t statesAtStart = states, instructionsAtStart = instructions;
    // What is left of a budget once `spent` of it went, an INP or OUT perhaps going past its end.
    const auto rest = [](std::uint64_t budget, std::uint64_t spent) {
        return spent < budget ? budget - spent : 0;
    };
    for (bool first = true;; first = false) {
        int ioPort = -1;
        const std::uint64_t instructionsLeft =
            instructionBudget == unlimited ? unlimited
                                           : rest(instructionBudget, instructions - instructionsAtStart);
        const std::uint64_t statesLeft = rest(stateBudget, states - statesAtStart);
        if (!first && (statesLeft == 0 || instructionsLeft == 0))
            return StopReason::budget;
        const StopReason stop =
            interpret<debugging, counting>(stops, statesLeft, instructionsLeft, first, ioPort);
        if (ioPort < 0)
            return stop;
        if (const StopReason afterward = inputOutput(static_cast<unsigned>(ioPort));
            afterward != StopReason::budget)
            return afterward;
    }
}

// The port access of the INP or OUT that has just run, at the state count of its end.
StopReason Machine::inputOutput(unsigned port) {
    std::uint8_t& a = cpu.registers[Cpu::A];
    if (port >= Ports::inputPorts) {
        ports.output(port, a, states, *this);
        return StopReason::budget;
    }
    a = ports.input(port, states, *this);
    switch (ports.takeWait(port)) {
    case DeviceWait::forInput:
        return StopReason::waitingForKeys;
    case DeviceWait::atEndOfInput:
        return StopReason::endOfInput;
    default:
        return StopReason::budget;
    }
}

// Runs until a stop, a budget is spent, or an INP or OUT has run, which it leaves
// to the caller in `ioPort`: the interpreter calls nothing, so that the compiler
// can keep every register of the chip in one of the host's.
template <bool debugging, bool counting>
StopReason Machine::interpret(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget,
                              bool firstOfRun, int& ioPort) {
    if (cpu.halted)
        return StopReason::halted;
    // The registers stay in locals for the run: stores to memory (bytes, which may
    // alias anything) would otherwise make the compiler reload them every time.
    Registers r(cpu.registers);
    std::uint8_t flags = static_cast<std::uint8_t>((cpu.zero ? zeroBit : 0) | (cpu.sign ? signBit : 0) |
                                                   (cpu.parity ? parityBit : 0) | (cpu.carry ? carryBit : 0));
    std::array<std::uint16_t, Cpu::stackSlots> stack = cpu.stack;
    std::uint8_t sp = cpu.stackPointer;
    std::uint32_t pc = stack[sp]; // as wide as the host likes its registers
    unsigned depth = callDepth;
    std::uint8_t* const mem = memory.data();
    const bool* const canWrite = writable.data();
    std::uint64_t* const executed = counting ? counts->executions.data() : nullptr;
    std::uint64_t* const statesAt = counting ? counts->states.data() : nullptr;
    // The states still to spend, counted down: one value to keep in a register, not two.
    const auto budget = static_cast<std::int64_t>(std::min<std::uint64_t>(stateBudget, INT64_MAX));
    std::int64_t left = budget;
    std::uint64_t done = 0;
    int pendingJam = jammed ? *jammed : -1;
    jammed.reset();
    StopReason stop = StopReason::budget;

    const auto next = [&]() BRENVIK_INLINE {
        const std::uint8_t byte = mem[pc];
        pc = (pc + 1) & addressMask;
        return byte;
    };
    const auto address = [&]() BRENVIK_INLINE {
        const std::uint8_t low = next();
        return static_cast<std::uint16_t>(low | (next() & 077) << 8);
    };
    const auto hl = [&]() BRENVIK_INLINE { return r.hl(); };
    const auto writeM = [&](std::uint8_t value) BRENVIK_INLINE {
        const unsigned at = hl();
        if (canWrite[at >> pageBits])
            mem[at] = value;
    };
    const auto call = [&](std::uint16_t target) BRENVIK_INLINE {
        stack[sp] = static_cast<std::uint16_t>(pc);
        sp = (sp + 1) & stackMask;
        pc = target;
        if (depth == returnSlots)
            lostReturnSlot = sp;
        else
            ++depth;
    };
    // The PC is a slot of the stack: it keeps its value when the pointer moves away.
    const auto ret = [&]() BRENVIK_INLINE {
        stack[sp] = static_cast<std::uint16_t>(pc);
        sp = (sp - 1) & stackMask;
        pc = stack[sp];
        depth -= depth > 0 ? 1 : 0;
    };

    // One instruction, all of its fields known when it is compiled; true when the run stops.
    const auto step = [&]<unsigned op>() BRENVIK_INLINE -> bool {
        constexpr unsigned group = op >> 6, d = (op >> 3) & 7, s = op & 7;
        constexpr InstructionTiming timing = timingFor(op);
        constexpr unsigned memoryOperand = Cpu::memoryOperand;
        const auto holds = [&]() BRENVIK_INLINE { return ((flags & conditionBits[d & 3]) != 0) == (d >= 4); };
        const bool carry = flags & carryBit;
        const auto setCarry = [&](bool on) BRENVIK_INLINE {
            flags = static_cast<std::uint8_t>((flags & ~carryBit) | (on ? carryBit : 0));
        };
        const auto source = [&]() BRENVIK_INLINE {
            if constexpr (s == memoryOperand)
                return mem[hl()];
            else
                return r.get<s>();
        };
        const auto arithmetic = [&](std::uint8_t v) BRENVIK_INLINE {
            unsigned result;
            bool carried = false;
            if constexpr (d == 0 || d == 1) { // AD, AC
                result = r.a + v + (d == 1 && carry ? 1 : 0);
                carried = result > 0xFF;
                r.a = static_cast<std::uint8_t>(result);
            } else if constexpr (d == 2 || d == 3) { // SU, SB: the carry is the borrow
                const unsigned taken = v + (d == 3 && carry ? 1 : 0);
                result = r.a - taken;
                carried = r.a < taken;
                r.a = static_cast<std::uint8_t>(result);
            } else if constexpr (d == 4) { // ND
                result = r.a &= v;
            } else if constexpr (d == 5) { // XR
                result = r.a ^= v;
            } else if constexpr (d == 6) { // OR
                result = r.a |= v;
            } else { // CP: the flags of a subtraction, A as it was
                result = r.a - v;
                carried = r.a < v;
            }
            flags = static_cast<std::uint8_t>(resultFlags[result & 0xFF] | (carried ? carryBit : 0));
        };
        const auto taken = [&]() BRENVIK_INLINE { left -= timing.statesIfTaken - timing.states; };

        if constexpr (!timing.defined) {
            stop = StopReason::undefinedOpcode;
            return true;
        } else {
            left -= timing.states;
            if constexpr (op == 0377 || (group == 0 && s <= 1 && d == 0)) { // HLT: 000, 001, 377
                stop = StopReason::halted;
                return true;
            } else if constexpr (group == 0) {
                if constexpr (s <= 1) { // INr, DCr
                    const auto result = static_cast<std::uint8_t>(r.get<d>() + (s == 0 ? 1 : -1));
                    r.set<d>(result);
                    flags = static_cast<std::uint8_t>(resultFlags[result] | (flags & carryBit));
                } else if constexpr (s == 2) { // RLC RRC RAL RAR, which touch only the carry
                    const std::uint8_t a = r.a;
                    if constexpr (d == 0)
                        r.a = static_cast<std::uint8_t>(a << 1 | a >> 7), setCarry(a >> 7);
                    else if constexpr (d == 1)
                        r.a = static_cast<std::uint8_t>(a >> 1 | a << 7), setCarry(a & 1);
                    else if constexpr (d == 2)
                        r.a = static_cast<std::uint8_t>(a << 1 | carry), setCarry(a >> 7);
                    else
                        r.a = static_cast<std::uint8_t>(a >> 1 | carry << 7), setCarry(a & 1);
                } else if constexpr (s == 3) { // RFc / RTc
                    if (holds()) {
                        taken();
                        ret();
                    }
                } else if constexpr (s == 4) { // ADI ... CPI
                    arithmetic(next());
                } else if constexpr (s == 5) { // RST n
                    call(static_cast<std::uint16_t>(d << 3));
                } else if constexpr (s == 6) { // LrI, LMI
                    const std::uint8_t value = next();
                    if constexpr (d == memoryOperand)
                        writeM(value);
                    else
                        r.set<d>(value);
                } else { // RET
                    ret();
                }
                return false;
            } else if constexpr (group == 1) {
                if constexpr (s == 0) { // JFc / JTc
                    const std::uint16_t target = address();
                    if (holds()) {
                        taken();
                        pc = target;
                    }
                } else if constexpr (s == 2) { // CFc / CTc
                    const std::uint16_t target = address();
                    if (holds()) {
                        taken();
                        call(target);
                    }
                } else if constexpr (s == 4) { // JMP
                    pc = address();
                } else if constexpr (s == 6) { // CAL
                    call(address());
                } else { // INP for ports 0 to 7, OUT for 8 to 31: done by the caller
                    ioPort = (op >> 1) & 037;
                    return true;
                }
                return false;
            } else if constexpr (group == 2) { // ADr ... CPr, and with M
                arithmetic(source());
                return false;
            } else { // Lds
                if constexpr (d == memoryOperand)
                    writeM(source());
                else
                    r.set<d>(source());
                return false;
            }
        }
    };

    // Where the instruction began and the states left before it, for the counts.
    [[maybe_unused]] std::uint32_t at = pc;
    [[maybe_unused]] std::int64_t before = left;
    [[maybe_unused]] bool fromBus = false; // an interrupt's byte, not one at the PC
#define BRENVIK_CASE(n)                                                                                      \
    case n:                                                                                                  \
        if (step.template operator()<n>())                                                                   \
            goto stopped;                                                                                    \
        break;
    for (;;) {
        if (left <= 0)
            goto finished;
        if constexpr (debugging) {
            if (done >= instructionBudget)
                goto finished;
            if (stops.breakpoints && (done > 0 || !firstOfRun) && (*stops.breakpoints)[pc]) {
                stop = StopReason::breakpoint;
                goto finished;
            }
        }
        if constexpr (counting) {
            at = pc;
            before = left;
        }
        std::uint8_t op;
        if constexpr (debugging) {
            fromBus = pendingJam >= 0;
            op = fromBus ? static_cast<std::uint8_t>(std::exchange(pendingJam, -1)) : next();
        } else {
            op = next();
        }
        switch (op) { BRENVIK_OPCODES(BRENVIK_CASE) }
        ++done;
        if constexpr (counting) {
            if (!fromBus) {
                ++executed[at];
                statesAt[at] += static_cast<std::uint64_t>(before - left);
            }
        }
        if constexpr (debugging) {
            if (stops.returnBelowDepth && depth < *stops.returnBelowDepth) {
                stop = StopReason::returned;
                goto finished;
            }
        }
    }

stopped:
    if (stop == StopReason::undefinedOpcode) {
        if (!fromBus)
            pc = (pc - 1) & addressMask; // the PC stands on the opcode, of one byte
    } else {
        ++done;
        if constexpr (counting) {
            if (!fromBus) {
                ++executed[at];
                statesAt[at] += static_cast<std::uint64_t>(before - left);
            }
        }
    }
finished:
#undef BRENVIK_CASE
    cpu.registers = r.all();
    cpu.carry = flags & carryBit;
    cpu.zero = flags & zeroBit;
    cpu.sign = flags & signBit;
    cpu.parity = flags & parityBit;
    stack[sp] = static_cast<std::uint16_t>(pc);
    cpu.stack = stack;
    cpu.stackPointer = sp;
    cpu.halted = stop == StopReason::halted;
    callDepth = depth;
    states += static_cast<std::uint64_t>(budget - left);
    instructions += done;
    if (pendingJam >= 0)
        jammed = static_cast<std::uint8_t>(pendingJam);
    return stop;
}

#undef BRENVIK_OPCODES
#undef BRENVIK_INLINE
