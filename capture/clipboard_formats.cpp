#include "capture/clipboard_formats.h"

#include <algorithm>

namespace clipboard_formats {
namespace {

// Formats the system converts into one another share a family number; 0 for the others.
int FamilyOf(unsigned format) {
  switch (format) {
    case kText: case kOemText: case kUnicodeText: return 1;
    case kBitmap: case kDib: case kDibV5: return 2;
    case kMetafilePict: case kEnhMetafile: return 3;
    default: return 0;
  }
}

}  // namespace

Storage StorageOf(unsigned format) {
  switch (format) {
    case kBitmap: case kDspBitmap: return Storage::Bitmap;
    case kMetafilePict: case kDspMetafilePict: return Storage::MetafilePict;
    case kEnhMetafile: case kDspEnhMetafile: return Storage::EnhMetafile;
    case kPalette: return Storage::Palette;
    case kOwnerDisplay: return Storage::NotCopyable;
    default: break;
  }
  // Private formats hold handles only their program understands; so may GDI-object formats.
  if (format >= kPrivateFirst && format <= kGdiObjLast) return Storage::NotCopyable;
  if (format == 0) return Storage::NotCopyable;
  return Storage::Memory;  // every other standard format and all registered ones
}

std::vector<unsigned> FormatsToSave(const std::vector<unsigned>& offered) {
  std::vector<unsigned> keep;
  std::vector<int> families_seen;
  for (unsigned format : offered) {
    if (StorageOf(format) == Storage::NotCopyable) continue;
    if (std::find(keep.begin(), keep.end(), format) != keep.end()) continue;
    if (int family = FamilyOf(format)) {
      if (std::find(families_seen.begin(), families_seen.end(), family) != families_seen.end())
        continue;
      families_seen.push_back(family);
    }
    keep.push_back(format);
  }
  return keep;
}

}  // namespace clipboard_formats
