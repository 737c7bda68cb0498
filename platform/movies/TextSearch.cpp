#include "TextSearch.h"

#include <algorithm>
#include <cstring>

namespace zt::movies {

namespace {

UInt32 OffsetOf(const TextSample& sample, bool caseSensitive) {
    return caseSensitive ? sample.plainOffset : sample.foldedOffset;
}

// The first match in samples [first, last), scanning forward.
std::optional<TextMatch> FindForward(const TrackText& track, const std::string& buffer, std::string_view key,
                                     bool caseSensitive, size_t first, size_t last) {
    if (first >= last) return std::nullopt;
    const auto& samples = track.samples;
    size_t begin = OffsetOf(samples[first], caseSensitive);
    size_t end = last < samples.size() ? OffsetOf(samples[last], caseSensitive) : buffer.size();
    if (key.find('\0') == std::string_view::npos) {
        // Every sample ends with a NUL byte that the key lacks, so a match never spans two samples.
        const void* hit = memmem(buffer.data() + begin, end - begin, key.data(), key.size());
        if (hit == nullptr) return std::nullopt;
        size_t at = size_t(static_cast<const char*>(hit) - buffer.data());
        auto next = std::upper_bound(samples.begin() + first, samples.begin() + last, at,
                                     [caseSensitive](size_t offset, const TextSample& s) {
                                         return offset < OffsetOf(s, caseSensitive);
                                     });
        size_t index = size_t(next - samples.begin()) - 1;
        return TextMatch{index, at - OffsetOf(samples[index], caseSensitive)};
    }
    for (size_t i = first; i < last; ++i) { // a key with NUL bytes: sample by sample
        size_t from = OffsetOf(samples[i], caseSensitive);
        size_t to = i + 1 < samples.size() ? OffsetOf(samples[i + 1], caseSensitive) - 1 : buffer.size() - 1;
        const void* hit = memmem(buffer.data() + from, to - from, key.data(), key.size());
        if (hit != nullptr) return TextMatch{i, size_t(static_cast<const char*>(hit) - buffer.data()) - from};
    }
    return std::nullopt;
}

// The match in the latest sample of [first, last), scanning backward.
std::optional<TextMatch> FindBackward(const TrackText& track, const std::string& buffer, std::string_view key,
                                      bool caseSensitive, size_t first, size_t last) {
    for (size_t i = last; i > first; --i) {
        if (auto match = FindForward(track, buffer, key, caseSensitive, i - 1, i)) return match;
    }
    return std::nullopt;
}

} // namespace

std::optional<TextMatch> FindText(const TrackText& track, std::string_view keyword, bool caseSensitive,
                                  SInt16 findFlags, TimeValue startTime) {
    if (keyword.empty() || track.samples.empty()) return std::nullopt;
    const std::string& buffer = caseSensitive ? track.plain : track.folded;
    const auto& samples = track.samples;
    bool edgeOK = (findFlags & findTextEdgeOK) != 0;
    auto byStart = [](const TextSample& s, TimeValue t) { return s.start < t; };
    size_t atOrAfter = size_t(std::lower_bound(samples.begin(), samples.end(), startTime, byStart) - samples.begin());
    size_t after = atOrAfter;
    while (after < samples.size() && samples[after].start == startTime) ++after;

    if ((findFlags & findTextReverseSearch) != 0) {
        // Samples that start before the start time (or at it, with the edge).
        size_t limit = edgeOK ? after : atOrAfter;
        if (auto match = FindBackward(track, buffer, keyword, caseSensitive, 0, limit)) return match;
        if ((findFlags & findTextWrapAround) != 0)
            return FindBackward(track, buffer, keyword, caseSensitive, limit, samples.size());
        return std::nullopt;
    }
    // Samples after the start time; with the edge, also the one that holds it.
    size_t first = after;
    if (edgeOK) {
        first = atOrAfter;
        if (first > 0 && samples[first - 1].start + samples[first - 1].duration > startTime) --first;
    }
    if (auto match = FindForward(track, buffer, keyword, caseSensitive, first, samples.size())) return match;
    if ((findFlags & findTextWrapAround) != 0) return FindForward(track, buffer, keyword, caseSensitive, 0, first);
    return std::nullopt;
}

void TrackText::Add(TimeValue start, TimeValue duration, const std::string& text, const std::string& foldedText) {
    samples.push_back({start, duration, UInt32(plain.size()), UInt32(folded.size())});
    plain.append(text);
    plain += '\0';
    folded.append(foldedText);
    folded += '\0';
}

} // namespace zt::movies
