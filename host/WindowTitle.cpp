#include "WindowTitle.h"

#include <glib.h>

#include <memory>

namespace zt::host {
namespace {

std::string ValidUtf8(const std::string& text) {
    std::unique_ptr<gchar, decltype(&g_free)> valid(
        g_utf8_make_valid(text.data(), gssize(text.size())), &g_free);
    return valid.get();
}

} // namespace

std::string WindowTitleFor(const std::optional<Song>& song) {
    if (!song || (song->artist.empty() && song->title.empty())) return kIdleWindowTitle;
    if (song->artist.empty()) return ValidUtf8(song->title);
    if (song->title.empty()) return ValidUtf8(song->artist);
    return ValidUtf8(song->artist + " \u2013 " + song->title);
}

} // namespace zt::host
