#include "app/text/command_line.h"

#include <algorithm>

namespace kolvane {

namespace {

// The column the help of each option starts at.
constexpr std::size_t kHelpColumn = 26;

const OptionRow* findOption(std::span<const OptionRow> table, std::string_view word) {
    for (const OptionRow& row : table) {
        if (word == row.name || (!row.shortName.empty() && word == row.shortName)) return &row;
    }
    return nullptr;
}

}  // namespace

bool parseCommandLine(int argc, const char* const* argv, std::span<const OptionRow> table,
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
        const OptionRow* row = findOption(table, word);
        if (row == nullptr) {
            error = "unknown option \"" + std::string(word) + "\"";
            return false;
        }
        const bool given = std::any_of(line.options.begin(), line.options.end(),
                                       [&](const GivenOption& o) { return o.id == row->id; });
        if (given) {
            error = "option " + std::string(row->name) + " given twice";
            return false;
        }
        GivenOption option{row->id, {}};
        if (!row->value.empty()) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') {
                error = "option " + std::string(row->name) + " needs a value";
                return false;
            }
            option.value = argv[++i];
        }
        line.help = line.help || row->id == kHelpOption;
        line.version = line.version || row->id == kVersionOption;
        line.options.push_back(option);
    }
    return true;
}

std::string helpText(std::string_view usage, std::span<const OptionRow> table,
                     std::string_view closing) {
    std::string text(usage);
    text += '\n';
    for (const OptionRow& row : table) {
        std::string left = "  ";
        if (!row.shortName.empty()) left += std::string(row.shortName) + ", ";
        left += row.name;
        if (!row.value.empty()) left += " " + std::string(row.value);
        text += left;
        if (left.size() + 2 > kHelpColumn) {
            text += '\n';
            left.clear();
        }
        std::string_view help = row.help;
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
