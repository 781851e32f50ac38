// The bytes of the 8008's instructions in AS-syntax sources, by their form.

#include "AsAssembler.h"

#include <array>

namespace assyntax {

void AsAssembler::instruction(const AsInstruction& found, const std::string& word,
                              const std::vector<Span>& operands) {
    const std::uint8_t op = found.opcode;
    const auto only = [&](std::size_t count) { return operandsAre(operands, count, word); };
    const auto code = [](int opcode, int operandBytes) {
        return static_cast<Line::LineCode>(opcode + 0x100 * operandBytes);
    };
    switch (found.form) {
    case AsForm::fixed:
        if (only(0))
            emit(code(op, 0), {});
        return;
    case AsForm::immediate:
        if (only(1))
            if (const auto v = valueIn(operands[0], -0x80, 0xFF, "a byte (-128 to 255)"))
                emit(code(op, 1), {static_cast<std::uint8_t>(*v & 0xFF)});
        return;
    case AsForm::jump:
        if (only(1))
            if (const auto v = valueIn(operands[0], 0, lastAddress, "an address of the 8008 (0 to 3FFFH)"))
                emit(code(op, 2), {static_cast<std::uint8_t>(*v & 0xFF), static_cast<std::uint8_t>(*v >> 8)});
        return;
    case AsForm::restart: {
        if (!only(1))
            return;
        const std::optional<std::int64_t> address = value(operands[0]);
        if (!address) {
            if (lastUnknown) // the line keeps its size until the name is known
                emit(code(op, 0), {});
            return;
        }
        if (*address < 0 || *address > 0x38 || (*address >= 8 && *address % 8 != 0)) {
            error(operands[0].from, {DiagCode::restartAddress, typed(operands[0])});
            return;
        }
        // The address it calls, or the restart number as the 8008's manual writes it.
        emit(code(static_cast<int>(*address < 8 ? op | *address << 3 : op + *address), 0), {});
        return;
    }
    case AsForm::input:
        if (only(1))
            if (const auto v = valueIn(operands[0], 0, 7, "an input port (0 to 7)"))
                emit(code(static_cast<int>(op | *v << 1), 0), {});
        return;
    case AsForm::output:
        if (only(1))
            if (const auto v = valueIn(operands[0], 8, 31, "an output port (8 to 31)"))
                emit(code(static_cast<int>(op | *v << 1), 0), {});
        return;
    case AsForm::move:
        if (only(2)) {
            const auto d = registerOf(operands[0], word), s = registerOf(operands[1], word);
            if (d && s && *d == memoryRegister && *s == memoryRegister)
                error(operands[0].from,
                      {DiagCode::badRegister, typed({operands[0].from, operands[1].to}), word});
            else if (d && s)
                emit(code(op | *d << 3 | *s, 0), {});
        }
        return;
    case AsForm::moveImmediate:
        if (only(2))
            if (const auto d = registerOf(operands[0], word))
                if (const auto v = valueIn(operands[1], -0x80, 0xFF, "a byte (-128 to 255)"))
                    emit(code(op | *d << 3, 1), {static_cast<std::uint8_t>(*v & 0xFF)});
        return;
    case AsForm::loadPair:
        if (only(2))
            if (const auto d = registerOf(operands[0], word, false)) {
                if (*d != 1 && *d != 3 && *d != 5) { // B, D and H head their pairs
                    error(operands[0].from, {DiagCode::badRegister, typed(operands[0]), word});
                    return;
                }
                if (const auto v = valueIn(operands[1], -0x8000, 0xFFFF, "a word (-32768 to 65535)"))
                    emit(Line::lhli, {static_cast<std::uint8_t>(op | *d << 3),
                                      static_cast<std::uint8_t>((*v >> 8) & 0xFF),
                                      static_cast<std::uint8_t>(op | (*d + 1) << 3),
                                      static_cast<std::uint8_t>(*v & 0xFF)});
            }
        return;
    case AsForm::sourceRegister:
        if (only(1))
            if (const auto s = registerOf(operands[0], word))
                emit(code(op | *s, 0), {});
        return;
    case AsForm::destinationRegister:
        if (only(1))
            if (const auto d = registerOf(operands[0], word, false)) {
                if (*d == 0)
                    error(operands[0].from, {DiagCode::badRegister, typed(operands[0]), word});
                else
                    emit(code(op | *d << 3, 0), {});
            }
        return;
    }
}

std::optional<int> AsAssembler::registerOf(Span operand, const std::string& word, bool memoryTaken) {
    const std::string name = upperOf(typed(operand));
    const std::size_t number =
        name.size() == 1 ? std::string_view(asRegisters).find(name[0]) : std::string_view::npos;
    if (number == std::string_view::npos || (!memoryTaken && number == memoryRegister)) {
        error(operand.from, {DiagCode::badRegister, typed(operand), word}, operand.to - operand.from);
        return std::nullopt;
    }
    return static_cast<int>(number);
}

bool AsAssembler::operandsAre(const std::vector<Span>& operands, std::size_t count, const std::string& word) {
    if (operands.size() == count &&
        std::none_of(operands.begin(), operands.end(), [](Span s) { return s.empty(); }))
        return true;
    static constexpr std::array<const char*, 3> takes{"no operand", "one operand", "two operands"};
    const std::uint32_t column = operands.empty() ? 1 : operands.front().from;
    error(column, {DiagCode::operandCount, word, takes[std::min<std::size_t>(count, 2)]});
    return false;
}

void AsAssembler::emit(Line::LineCode kind, ByteList bytes) {
    Line& line = assembly.lines[lineIndex];
    if (expansionDepth > 0) { // the invoking line holds every byte of its expansion
        const std::uint32_t size = (kind >= 0 ? 1 : 0) + static_cast<std::uint32_t>(bytes.size());
        if (size > 0 && pc + size - 1 > lastAddress)
            error(1, {DiagCode::outOfRange, std::to_string(pc + size - 1),
                      "an address of the 8008 (0 to 3FFFH)"});
        if (line.code.empty()) // where its first byte lies, which an ORG before it may have moved
            line.value = static_cast<std::uint32_t>(pc);
        Assembly::ExpandedLine& listed = assembly.expanded.back();
        listed.kind = kind;
        listed.address = static_cast<std::uint32_t>(pc);
        if (kind >= 0) {
            line.code.push_back(static_cast<std::uint8_t>(kind & 0xFF));
            listed.bytes.push_back(static_cast<std::uint8_t>(kind & 0xFF));
        }
        for (const std::uint8_t byte : bytes) {
            line.code.push_back(byte);
            listed.bytes.push_back(byte);
        }
        line.kind = Line::expansion;
        pc += size;
        return;
    }
    line.kind = kind;
    line.code = std::move(bytes);
    const std::int64_t size = static_cast<std::int64_t>(line.size());
    if (size > 0 && pc + size - 1 > lastAddress)
        error(1,
              {DiagCode::outOfRange, std::to_string(pc + size - 1), "an address of the 8008 (0 to 3FFFH)"});
    pc += size;
}

} // namespace assyntax
