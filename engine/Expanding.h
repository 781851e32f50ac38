#pragma once

// What a run that expands knows besides the assembly: its lines in the order
// assembled, the conditions open, the macros defined, the lines held back
// until their ENDM, and the files read.

#include "Brenvik.h"
#include "IncludedFiles.h"

#include <algorithm>
#include <variant>

// A line as a run that expands assembles it: one of the text, or one that a
// line of the text brings in (a line of an included file, of a macro's
// expansion or of a repetition).
struct TBrenvikEngine::RunLine {
    std::uint32_t textLine;               // the line of the text that holds it
    std::uint32_t depth = 0;              // 0 for the text's own, 1 for what one brings in, ...
    std::uint32_t parent = noLine;        // the line that brings it in
    std::uint32_t column = 0;             // where that line names what it brings in
    std::uint32_t file = 0, fileLine = 0; // where it is written
    std::uint32_t scope = 0;              // the expansion whose labels are its own, 0 none
    std::uint32_t expansion = 0;          // its number in Expanding::expansionNames
    std::string text = {};                // as assembled; empty for the text's own
};

struct TBrenvikEngine::Expanding {
    explicit Expanding(const std::string& textPath) : files(textPath) {}

    struct Macro {
        std::vector<std::string> parameters; // upper case
        std::vector<BodyLine> body;
        std::vector<std::string> labels; // defined in column 1 of its body, upper case
    };
    // A MACRO or REPT whose lines are kept until its ENDM.
    struct Recording {
        bool repeats;          // REPT rather than MACRO
        std::uint32_t line;    // of the MACRO or REPT
        std::uint32_t column;  // of its word
        int depth = 1;         // MACROs and REPTs open in it, itself included
        std::string name = {}; // of a macro
        std::uint32_t times = 0;
        Macro macro = {};
    };
    struct Condition {
        std::uint32_t line; // of its IF
        bool outerTaking;   // whether the branch around it is taken
        bool taking;        // whether its current branch is
        bool taken;         // whether one of its branches was
        bool elseMet;
    };

    std::vector<RunLine> lines;
    std::vector<Condition> conditions;
    WordTable<Macro> macros;
    std::optional<Recording> recording;
    // By scope, the labels that expansion has of its own, and the line that
    // defines each (noLine until one does).
    struct OwnLabel {
        std::string name; // upper case
        std::uint32_t line = noLine;
    };
    std::vector<std::vector<OwnLabel>> ownLabels{{}};
    // What expansions expand: a macro's name, REPT, or "" for an included file.
    WordTable<std::monostate> expansionNames;
    IncludedFiles files;
    bool used = false;              // whether the text still uses any of it
    int depth = 0;                  // expansions within each other at the line
    std::int64_t expandedLines = 0; // brought in by the text's line being assembled

    bool assembling() const { return conditions.empty() || conditions.back().taking; }
    // The label `name` of expansion `scope`'s own; null for a name that is not one.
    OwnLabel* ownLabel(std::uint32_t scope, std::string_view name) {
        std::vector<OwnLabel>& labels = ownLabels[scope];
        const auto found = std::find_if(labels.begin(), labels.end(),
                                        [&](const OwnLabel& label) { return label.name == name; });
        return found == labels.end() ? nullptr : &*found;
    }
};
