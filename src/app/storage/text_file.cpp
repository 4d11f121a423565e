#include "app/storage/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>

#include "app/text/text_line.h"

namespace kolvane {

ReadOutcome readTextFile(const std::filesystem::path& path, std::size_t maxBytes,
                         std::size_t maxLine, std::string& text, std::string& error) {
    text.clear();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return ReadOutcome::kMissing;
    if (ec || !std::filesystem::is_regular_file(status)) {
        error = "\"" + path.string() + "\" is not a file";
        return ReadOutcome::kRefused;
    }
    std::FILE* file = std::fopen(path.string().c_str(), "rb");
    if (file == nullptr) {
        error = "cannot read \"" + path.string() + "\": " + std::strerror(errno);
        return ReadOutcome::kRefused;
    }
    char buffer[1 << 14];
    std::size_t n = 0;
    while (text.size() <= maxBytes && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, n);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        error = "cannot read \"" + path.string() + "\"";
        return ReadOutcome::kRefused;
    }
    if (text.size() > maxBytes) {
        error = "\"" + path.string() + "\" is too large (more than " + std::to_string(maxBytes) +
                " bytes)";
        return ReadOutcome::kRefused;
    }
    std::string_view rest = text;
    for (int line = 1; !rest.empty(); ++line) {
        if (const auto problem = textLineProblem(takeLine(rest), maxLine)) {
            error = "\"" + path.string() + "\" line " + std::to_string(line) +
                    " is not text: " + *problem;
            return ReadOutcome::kRefused;
        }
    }
    return ReadOutcome::kRead;
}

bool moveAside(const std::filesystem::path& path, std::string& error) {
    std::filesystem::path bad = path;
    bad += ".bad";
    std::error_code ec;
    std::filesystem::rename(path, bad, ec);
    if (ec) {
        error = "cannot move \"" + path.string() + "\" aside: " + ec.message();
        return false;
    }
    return true;
}

}  // namespace kolvane
