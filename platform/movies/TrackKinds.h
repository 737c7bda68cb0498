// The media type a stream is presented as: pictures 'vide', audio 'soun', text
// subtitle codecs 'text'; cover pictures, bitmap subtitles, data and the rest
// are other types, none of them a picture.
#pragma once

#include "Movies.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace zt::movies {

OSType MediaTypeOf(const AVStream* stream);
bool IsPictureType(OSType type);

} // namespace zt::movies
