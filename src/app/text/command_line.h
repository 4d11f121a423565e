#pragma once
// The programs' command lines, read by one set of rules from a table of each
// program's options, which also makes its help text:
// - an option is a word starting with "-" that the table names (its long
//   name or its short one); one that takes a value takes the next word,
//   whatever it is but empty;
// - each option may be given once: a second time is a mistake (which of two
//   contradicting values was meant can't be known);
// - "--" ends the options; "-" and any other word are operands.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kolvane {

struct OptionRow {
    int id;                      // the program's own name for it (an enum's value)
    std::string_view name;       // "--scale"
    std::string_view value;      // the value's name in the help ("N"); empty: a flag
    std::string_view help;       // what it does; '\n' starts another line
    std::string_view shortName;  // "-h", or empty
};

// --help (-h) and --version, which every program takes: in every table.
inline constexpr int kHelpOption = -1;
inline constexpr int kVersionOption = -2;
inline constexpr OptionRow kHelpRow{kHelpOption, "--help", {}, "print this help and exit", "-h"};
inline constexpr OptionRow kVersionRow{
    kVersionOption, "--version", {}, "print the version and exit", {}};

struct GivenOption {
    int id;
    std::string_view value;  // empty for a flag
};

struct CommandLine {
    bool help = false;                       // --help or -h
    bool version = false;                    // --version
    std::vector<GivenOption> options;        // every option, in the order given
    std::vector<std::string_view> operands;  // in the order given
};

// Reads argv[1..argc). On a mistake returns false with error set ("unknown
// option \"--x\"", "option --scale needs a value", "option --seed given
// twice").
bool parseCommandLine(int argc, const char* const* argv, std::span<const OptionRow> table,
                      CommandLine& line, std::string& error);

// The help text: the usage lines, then the options, each with its help
// beside it (or below, when the option is long), then a blank line and the
// closing text when there is one.
std::string helpText(std::string_view usage, std::span<const OptionRow> table,
                     std::string_view closing = {});

}  // namespace kolvane
