#include "TrackKinds.h"

extern "C" {
#include <libavcodec/codec_desc.h>
}

namespace zt::movies {

OSType MediaTypeOf(const AVStream* stream) {
    const AVCodecParameters* codec = stream->codecpar;
    switch (codec->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) != 0 ? CoverArtMediaType : VideoMediaType;
    case AVMEDIA_TYPE_AUDIO:
        return SoundMediaType;
    case AVMEDIA_TYPE_SUBTITLE: {
        const AVCodecDescriptor* descriptor = avcodec_descriptor_get(codec->codec_id);
        return descriptor != nullptr && (descriptor->props & AV_CODEC_PROP_TEXT_SUB) != 0 ? TextMediaType
                                                                                            : SubpictureMediaType;
    }
    default:
        return DataMediaType;
    }
}

bool IsPictureType(OSType type) { return type == VideoMediaType || type == MPEGMediaType; }

} // namespace zt::movies
