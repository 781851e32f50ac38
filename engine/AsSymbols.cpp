// Names and values in AS-syntax sources: labels and their passes, the labels
// of expansions and nameless ones, operands' values in range, and faults.

#include "AsAssembler.h"
#include "SourceText.h"

namespace assyntax {

void AsAssembler::define(std::optional<Span> label, std::int64_t v, bool variable, bool isLabel) {
    if (!label)
        return;
    // A label of an expansion is its own: each expansion of a macro has its loop.
    const bool local = !scopes.empty();
    const std::string name = local ? localKey(upperOf(typed(*label))) : upperOf(typed(*label));
    WordTable<std::uint32_t>& names = local ? localNames : assembly.symbols;
    std::vector<Symbol>& info = local ? localSymbols : symbols;
    std::uint32_t number = names.indexOf(name);
    if (number == names.none) {
        names.set(name, lineIndex);
        number = names.indexOf(name);
        info.resize(number + 1);
    }
    Symbol& s = info[number];
    if (s.pass == passNumber && !(s.variable && variable)) {
        error(label->from, {DiagCode::symbolDefinedTwice, typed(*label), std::to_string(s.line + 1)},
              label->to - label->from);
        return;
    }
    if (s.pass != passNumber) {
        if (!s.variable && s.pass == passNumber - 1 && s.value != v)
            valuesChanged = true;
        s.line = lineIndex;
        if (!local && (placeFile != 0 || number < assembly.symbolPlaces.size())) {
            assembly.symbolPlaces.resize(std::max<std::size_t>(assembly.symbolPlaces.size(), number + 1));
            assembly.symbolPlaces[number] = {files.pathAt(placeFile), placeLine};
        }
    }
    if (!local && expansionDepth > 0) { // the invoking line's record holds something else
        std::vector<std::optional<Assembly::Definition>>& defined = assembly.expandedDefinitions;
        defined.resize(std::max<std::size_t>(defined.size(), number + 1));
        defined[number] = Assembly::Definition{static_cast<std::uint32_t>(v & 0xFFFF), isLabel};
    }
    s.value = v;
    s.pass = passNumber;
    s.variable = variable;
    names.set(name, lineIndex);
}

std::string AsAssembler::localKey(std::string_view name) const {
    return std::string(name) + '@' + std::to_string(scopes.back());
}

std::optional<std::int64_t> AsAssembler::symbol(std::string_view name, std::uint32_t column) {
    // Conditions take only what this pass has defined; other operands what the last one did too.
    const int lastPass = conditionWord.empty() ? passNumber - 1 : passNumber;
    std::string local;
    if (!scopes.empty()) {
        local = localKey(name);
        if (const std::uint32_t n = localNames.indexOf(local);
            n != localNames.none && localSymbols[n].pass >= lastPass)
            return localSymbols[n].value;
    }
    const std::uint32_t number = assembly.symbols.indexOf(name);
    if (number != assembly.symbols.none && symbols[number].pass >= lastPass) {
        if (column != 0 && expansionDepth == 0)
            assembly.uses.push_back({number, lineIndex, column});
        else if (column != 0 && scopes.empty() && placeFile != 0) // in an included file, not a macro
            assembly.includedUses.push_back(
                {number, {files.pathAt(placeFile), placeLine}, column, current.text});
        return symbols[number].value;
    }
    if (name == "MOMPASS" && number == assembly.symbols.none) // AS's own: the pass, from 1
        return passNumber;
    // A pass more helps a name that no pass has defined up to here, not one a condition refuses.
    const auto undefinedSoFar = [this](const WordTable<std::uint32_t>& names, const std::vector<Symbol>& info,
                                       std::string_view key) {
        const std::uint32_t n = names.indexOf(key);
        return n == names.none || info[n].pass < passNumber - 1;
    };
    if (undefinedSoFar(assembly.symbols, symbols, name) &&
        (local.empty() || undefinedSoFar(localNames, localSymbols, local))) {
        unknownNames.emplace_back(name);
        if (!local.empty())
            unknownNames.push_back(std::move(local));
    }
    return std::nullopt;
}

// The nameless label that `-`, `--` ... (backwards) or `+`, `++` ... (forwards) name;
// forwards, the last pass's list says where it is.
std::optional<std::int64_t> AsAssembler::namelessLabel(Span operand) {
    const std::string_view text = scan::slice(current.text, operand.from, operand.to);
    const char direction = text.front();
    std::size_t count = text.size();
    const auto matches = [direction](const Nameless& label) {
        return label.kind == direction || label.kind == '/';
    };
    if (direction == '-') {
        for (auto it = nameless.rbegin(); it != nameless.rend(); ++it)
            if (matches(*it) && --count == 0)
                return it->value;
    } else {
        for (std::size_t i = nameless.size(); i < lastNameless.size(); ++i)
            if (matches(lastNameless[i]) && --count == 0)
                return lastNameless[i].value;
        if (passNumber == 1) { // known in the next pass
            namelessAhead = true;
            lastUnknown = true;
            return std::nullopt;
        }
    }
    error(operand.from, {DiagCode::undefinedSymbol, std::string(text)}, operand.to - operand.from);
    return std::nullopt;
}

std::optional<std::int64_t> AsAssembler::value(Span operand) {
    if (const std::string_view text = scan::slice(current.text, operand.from, operand.to);
        !text.empty() && text.find_first_not_of(text.front()) == std::string_view::npos &&
        (text.front() == '+' || text.front() == '-')) {
        lastUnknown = false;
        return namelessLabel(operand);
    }
    AsExpression expression(*this, radix);
    const std::optional<std::int64_t> v = expression.evaluate(current, operand.from, operand.to);
    lastUnknown = false;
    if (!v) {
        error(expression.faultColumn(), expression.fault());
        return std::nullopt;
    }
    if (expression.unknown()) {
        // Said in every pass: the next pass, if a name is defined further down, says it no more.
        const std::string& name = expression.firstUnknown();
        const bool later = !conditionWord.empty() && assembly.symbols.contains(upperOf(name));
        error(expression.firstUnknownColumn(),
              later ? Fault{DiagCode::noForwardReference, name, conditionWord}
                    : Fault{DiagCode::undefinedSymbol, name},
              static_cast<std::uint32_t>(name.size()));
        lastUnknown = true;
        return std::nullopt;
    }
    return v;
}

std::optional<std::int64_t> AsAssembler::valueIn(Span operand, std::int64_t low, std::int64_t high,
                                                 const char* what) {
    const std::optional<std::int64_t> v = value(operand);
    if (!v) // a stand-in in the range, so that the line keeps its size until the name is known
        return lastUnknown ? std::optional(std::max<std::int64_t>(low, 0)) : std::nullopt;
    if (*v < low || *v > high) {
        error(operand.from, {DiagCode::outOfRange, std::to_string(*v), what}, operand.to - operand.from);
        return std::nullopt;
    }
    return v;
}

// Whether the invoking line has `fault` already: its expansion repeats a faulty line.
bool AsAssembler::saidBefore(const Fault& fault) const {
    const FaultSite& site = *fault.site;
    for (auto d = assembly.diagnostics.rbegin(); d != assembly.diagnostics.rend() && d->line == lineIndex;
         ++d)
        if (d->fault.code == fault.code && d->fault.site && d->fault.site->place.file == site.place.file &&
            d->fault.site->place.line == site.place.line && d->fault.site->column == site.column)
            return true;
    return false;
}

void AsAssembler::error(std::uint32_t column, Fault fault, std::uint32_t length) {
    if (lineFailed)
        return;
    lineFailed = true;
    column = std::max<std::uint32_t>(column, 1);
    if (expansionDepth > 0) { // the invoking line holds it, at what it names
        fault.site = faultSite(column);
        if (saidBefore(fault))
            return;
        column = expansionColumn;
        length = 1;
    }
    // A fault found where the comment begins (an operand missing there) shows red, not a comment.
    Line& line = assembly.lines[lineIndex];
    if (line.comment != 0 && column >= line.comment)
        line.comment = 0;
    assembly.diagnostics.push_back(
        {lineIndex, column, std::max<std::uint32_t>(length, 1), std::move(fault), column});
}

void AsAssembler::warn(std::uint32_t column, Fault fault, std::uint32_t length) {
    if (expansionDepth > 0) // the invoking line's own warnings only
        return;
    assembly.diagnostics.push_back({lineIndex, column, length, std::move(fault), column});
}

std::string AsAssembler::typed(Span span) const {
    return typedColumns(current, span.from, span.to);
}

} // namespace assyntax
