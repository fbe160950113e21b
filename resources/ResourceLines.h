#pragma once
// Reads a resource text file line by line: each line trimmed, blank lines and '#' comments skipped,
// with the number of the line last read for error messages.
#include "platform/Text.h"

#include <string_view>

namespace kelto {

class ResourceLines {
public:
    explicit ResourceLines(std::string_view text) : text_(text) {}

    // The next line with content; false at the end of the text.
    bool next(std::string_view& line) {
        while (pos_ < text_.size()) {
            const auto end = text_.find('\n', pos_);
            line = platform::trimBlanks(text_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_));
            pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            ++lineNo_;
            if (!line.empty() && line.front() != '#') return true;
        }
        return false;
    }
    int lineNo() const { return lineNo_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNo_ = 0;
};

}  // namespace kelto
