// The interpreter: one switch over the opcode's octal fields, the registers in
// locals for the length of a run.

#include "Machine.h"

#include "Instructions.h"

#include <bit>

namespace {

constexpr std::uint16_t addressMask = Cpu::addressMask;
constexpr std::uint8_t stackMask = Cpu::stackSlots - 1;

// Zero, sign and parity of each result, as bits, so that one lookup sets all three.
enum FlagBit : std::uint8_t { zeroBit = 1, signBit = 2, parityBit = 4 };
constexpr std::array<std::uint8_t, 256> resultFlags = [] {
    std::array<std::uint8_t, 256> table{};
    for (unsigned v = 0; v < 256; ++v)
        table[v] = static_cast<std::uint8_t>((v == 0 ? zeroBit : 0) | (v & 0x80 ? signBit : 0) |
                                             (std::popcount(v) % 2 == 0 ? parityBit : 0));
    return table;
}();

// The flag a condition tests (0 carry, 1 zero, 2 sign, 3 parity) as its bit.
constexpr std::uint8_t conditionBits[] = {0, zeroBit, signBit, parityBit};

} // namespace

StopReason Machine::run(std::uint64_t stateBudget, std::uint64_t instructionBudget) {
    return execute<false>({}, stateBudget, instructionBudget);
}

StopReason Machine::run(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget) {
    return execute<true>(stops, stateBudget, instructionBudget);
}

template <bool debugging>
StopReason Machine::execute(const Stops& stops, std::uint64_t stateBudget, std::uint64_t instructionBudget) {
    if (cpu.halted)
        return StopReason::halted;
    // The registers stay in locals for the run: stores to memory (bytes, which may
    // alias anything) would otherwise make the compiler reload them every time.
    std::uint8_t r[8]{};
    std::copy(cpu.registers.begin(), cpu.registers.end(), r);
    bool carry = cpu.carry;
    std::uint8_t flags = static_cast<std::uint8_t>((cpu.zero ? zeroBit : 0) | (cpu.sign ? signBit : 0) |
                                                   (cpu.parity ? parityBit : 0));
    std::array<std::uint16_t, Cpu::stackSlots> stack = cpu.stack;
    std::uint8_t sp = cpu.stackPointer;
    std::uint16_t pc = stack[sp];
    unsigned depth = callDepth;
    std::uint8_t* const mem = memory.data();
    const auto& timings = instructionTimings();
    std::uint64_t spent = 0, done = 0;
    int pendingJam = jammed ? *jammed : -1;
    jammed.reset();

    const auto next = [&] {
        const std::uint8_t byte = mem[pc];
        pc = (pc + 1) & addressMask;
        return byte;
    };
    const auto address = [&] {
        const std::uint8_t low = next();
        return static_cast<std::uint16_t>(low | (next() & 077) << 8);
    };
    const auto m = [&]() -> std::uint8_t& { return mem[(r[Cpu::H] & 077) << 8 | r[Cpu::L]]; };
    const auto source = [&](unsigned s) { return s == Cpu::memoryOperand ? m() : r[s]; };
    const auto holds = [&](unsigned condition) {
        const bool flag = (condition & 3) == 0 ? carry : (flags & conditionBits[condition & 3]) != 0;
        return flag == (condition >= 4);
    };
    const auto call = [&](std::uint16_t target) {
        stack[sp] = pc;
        sp = (sp + 1) & stackMask;
        pc = target;
        if (depth == returnSlots)
            lostReturnSlot = sp;
        else
            ++depth;
    };
    // The PC is a slot of the stack: it keeps its value when the pointer moves away.
    const auto ret = [&] {
        stack[sp] = pc;
        sp = (sp - 1) & stackMask;
        pc = stack[sp];
        depth -= depth > 0 ? 1 : 0;
    };
    const auto arithmetic = [&](unsigned operation, std::uint8_t v) {
        unsigned result;
        switch (operation) {
        case 0: // AD
        case 1: // AC
            result = r[Cpu::A] + v + (operation == 1 && carry ? 1 : 0);
            carry = result > 0xFF;
            r[Cpu::A] = static_cast<std::uint8_t>(result);
            break;
        case 2:   // SU
        case 3: { // SB: the carry is the borrow
            const unsigned taken = v + (operation == 3 && carry ? 1 : 0);
            result = r[Cpu::A] - taken;
            carry = r[Cpu::A] < taken;
            r[Cpu::A] = static_cast<std::uint8_t>(result);
            break;
        }
        case 4: // ND
            result = r[Cpu::A] &= v;
            carry = false;
            break;
        case 5: // XR
            result = r[Cpu::A] ^= v;
            carry = false;
            break;
        case 6: // OR
            result = r[Cpu::A] |= v;
            carry = false;
            break;
        default: // CP: the flags of a subtraction, A as it was
            result = r[Cpu::A] - v;
            carry = r[Cpu::A] < v;
            break;
        }
        flags = resultFlags[result & 0xFF];
    };

    // One instruction; a stop, or budget to go on.
    const auto step = [&](std::uint8_t op) -> StopReason {
        const unsigned d = (op >> 3) & 7, s = op & 7;
        const auto taken = [&] { spent += timings[op].statesIfTaken - timings[op].states; };
        spent += timings[op].states;
        switch (op >> 6) {
        case 0:
            switch (s) {
            case 0: // INr; HLT at 000
            case 1: // DCr; HLT at 001
                if (d == 0)
                    return StopReason::halted;
                if (d == Cpu::memoryOperand)
                    return StopReason::undefinedOpcode;
                r[d] = static_cast<std::uint8_t>(r[d] + (s == 0 ? 1 : -1));
                flags = resultFlags[r[d]];
                return StopReason::budget;
            case 2: { // RLC RRC RAL RAR, which touch only the carry
                const std::uint8_t a = r[Cpu::A];
                switch (d) {
                case 0:
                    carry = a >> 7, r[Cpu::A] = static_cast<std::uint8_t>(a << 1 | a >> 7);
                    break;
                case 1:
                    carry = a & 1, r[Cpu::A] = static_cast<std::uint8_t>(a >> 1 | a << 7);
                    break;
                case 2:
                    r[Cpu::A] = static_cast<std::uint8_t>(a << 1 | carry), carry = a >> 7;
                    break;
                case 3:
                    r[Cpu::A] = static_cast<std::uint8_t>(a >> 1 | carry << 7), carry = a & 1;
                    break;
                default:
                    return StopReason::undefinedOpcode;
                }
                return StopReason::budget;
            }
            case 3: // RFc / RTc
                if (holds(d)) {
                    taken();
                    ret();
                }
                return StopReason::budget;
            case 4: // ADI ... CPI
                arithmetic(d, next());
                return StopReason::budget;
            case 5: // RST n
                call(static_cast<std::uint16_t>(d << 3));
                return StopReason::budget;
            case 6: { // LrI, LMI
                const std::uint8_t value = next();
                (d == Cpu::memoryOperand ? m() : r[d]) = value;
                return StopReason::budget;
            }
            default: // RET
                ret();
                return StopReason::budget;
            }
        case 1:
            switch (s) {
            case 0: { // JFc / JTc
                const std::uint16_t target = address();
                if (holds(d)) {
                    taken();
                    pc = target;
                }
                return StopReason::budget;
            }
            case 2: { // CFc / CTc
                const std::uint16_t target = address();
                if (holds(d)) {
                    taken();
                    call(target);
                }
                return StopReason::budget;
            }
            case 4: // JMP
                pc = address();
                return StopReason::budget;
            case 6: // CAL
                call(address());
                return StopReason::budget;
            default: { // INP for ports 0 to 7, OUT for 8 to 31
                const unsigned port = (op >> 1) & 037;
                if (port >= Ports::inputPorts) {
                    ports.output(port, r[Cpu::A]);
                    return StopReason::budget;
                }
                r[Cpu::A] = ports.input(port);
                switch (ports.console.takeWait()) {
                case Console::Wait::forKeys:
                    return StopReason::waitingForKeys;
                case Console::Wait::atEndOfInput:
                    return StopReason::endOfInput;
                default:
                    return StopReason::budget;
                }
            }
            }
        case 2: // ADr ... CPr, and with M
            arithmetic(d, source(s));
            return StopReason::budget;
        default: // Lds; LMM is a halt
            if (op == 0377)
                return StopReason::halted;
            (d == Cpu::memoryOperand ? m() : r[d]) = source(s);
            return StopReason::budget;
        }
    };

    StopReason stop = StopReason::budget;
    while (spent < stateBudget && done < instructionBudget) {
        if constexpr (debugging) {
            if (stops.breakpoints && done > 0 && (*stops.breakpoints)[pc]) {
                stop = StopReason::breakpoint;
                break;
            }
        }
        const bool fromBus = pendingJam >= 0; // an interrupt's byte, not one at the PC
        const std::uint8_t op = fromBus ? static_cast<std::uint8_t>(pendingJam) : next();
        pendingJam = -1;
        stop = step(op);
        if (stop == StopReason::undefinedOpcode) {
            spent -= timings[op].states;
            if (!fromBus)
                pc = (pc - 1) & addressMask; // the PC stands on the opcode
            break;
        }
        ++done;
        if (stop != StopReason::budget)
            break;
        if constexpr (debugging) {
            if (stops.returnBelowDepth && depth < *stops.returnBelowDepth) {
                stop = StopReason::returned;
                break;
            }
        }
    }

    std::copy(r, r + cpu.registers.size(), cpu.registers.begin());
    cpu.carry = carry;
    cpu.zero = flags & zeroBit;
    cpu.sign = flags & signBit;
    cpu.parity = flags & parityBit;
    stack[sp] = pc;
    cpu.stack = stack;
    cpu.stackPointer = sp;
    cpu.halted = stop == StopReason::halted;
    callDepth = depth;
    states += spent;
    instructions += done;
    return stop;
}
