#include "SongFields.h"

namespace zt::host {

namespace {
constexpr std::string_view kBlanks = " \t\r\n\v\f";
}

std::string TrimmedField(std::string_view text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(kBlanks);
    return std::string(text.substr(first, last - first + 1));
}

std::string FirstFieldEntry(std::string_view joined) {
    while (!joined.empty()) {
        size_t end = joined.find(';');
        std::string entry = TrimmedField(joined.substr(0, end));
        if (!entry.empty() || end == std::string_view::npos) return entry;
        joined.remove_prefix(end + 1);
    }
    return {};
}

} // namespace zt::host
