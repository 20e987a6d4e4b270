#pragma once
// Which clipboard formats a backup keeps. The system converts some formats into one another
// (text, OEM text and Unicode text; bitmap, DIB and DIBV5; metafile picture and enhanced
// metafile) and offers the converted ones after the one a program put there; a backup keeps
// only that first one of each family, since putting it back brings the others again.
// Formats whose data is not a copyable object (private handles, owner display) are left out.
#include <vector>

namespace clipboard_formats {

// The system's standard format numbers.
enum : unsigned {
  kText = 1,
  kBitmap = 2,
  kMetafilePict = 3,
  kOemText = 7,
  kDib = 8,
  kPalette = 9,
  kUnicodeText = 13,
  kEnhMetafile = 14,
  kDibV5 = 17,
  kOwnerDisplay = 0x80,
  kDspText = 0x81,
  kDspBitmap = 0x82,
  kDspMetafilePict = 0x83,
  kDspEnhMetafile = 0x8E,
  kPrivateFirst = 0x200,
  kPrivateLast = 0x2FF,
  kGdiObjFirst = 0x300,
  kGdiObjLast = 0x3FF,
};

// How a format's data is held, and so how it is copied.
enum class Storage { Memory, Bitmap, MetafilePict, EnhMetafile, Palette, NotCopyable };
Storage StorageOf(unsigned format);

// The formats of `offered` (in the system's order) that a backup saves, in the same order.
std::vector<unsigned> FormatsToSave(const std::vector<unsigned>& offered);

}  // namespace clipboard_formats
