#include "app/text/command_line.h"

#include <algorithm>

namespace kolvane {

namespace {

// The column the help of each option starts at.
constexpr std::size_t kHelpColumn = 26;

const OptionSpec* findOption(std::span<const OptionSpec> table, std::string_view word) {
    for (const OptionSpec& spec : table) {
        if (word == spec.name || (!spec.shortName.empty() && word == spec.shortName)) return &spec;
    }
    return nullptr;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, std::span<const OptionSpec> table,
                      CommandLine& line, std::string& error) {
    line = CommandLine{};
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (!optionsEnded && word == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || word.size() < 2 || word[0] != '-') {
            line.operands.push_back(word);
            continue;
        }
        const OptionSpec* spec = findOption(table, word);
        if (spec == nullptr) {
            error = "unknown option \"" + std::string(word) + "\"";
            return false;
        }
        const bool given = std::any_of(line.options.begin(), line.options.end(),
                                       [&](const GivenOption& o) { return o.id == spec->id; });
        if (given) {
            error = "option " + std::string(spec->name) + " given twice";
            return false;
        }
        GivenOption option{spec->id, {}};
        if (!spec->value.empty()) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = "option " + std::string(spec->name) + " needs a value";
                return false;
            }
            option.value = argv[++i];
        }
        line.help = line.help || spec->id == kHelpOption;
        line.version = line.version || spec->id == kVersionOption;
        line.options.push_back(option);
    }
    return true;
}

std::string helpText(std::string_view usage, std::span<const OptionSpec> table,
                     std::string_view closing) {
    std::string text(usage);
    text += '\n';
    for (const OptionSpec& spec : table) {
        std::string left = "  ";
        if (!spec.shortName.empty()) left += std::string(spec.shortName) + ", ";
        left += spec.name;
        if (!spec.value.empty()) left += " " + std::string(spec.value);
        text += left;
        if (left.size() + 2 > kHelpColumn) {
            text += '\n';
            left.clear();
        }
        std::string_view help = spec.help;
        for (bool first = true; first || !help.empty(); first = false) {
            const std::size_t end = std::min(help.find('\n'), help.size());
            text += std::string((first ? kHelpColumn - left.size() : kHelpColumn), ' ');
            text += help.substr(0, end);
            text += '\n';
            help.remove_prefix(std::min(end + 1, help.size()));
            left.clear();
        }
    }
    if (!closing.empty()) {
        text += '\n';
        text += closing;
    }
    return text;
}

}  // namespace kolvane
