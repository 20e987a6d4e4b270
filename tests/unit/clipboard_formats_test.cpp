// Which clipboard formats a capture saves and puts back.
#include <gtest/gtest.h>

#include "capture/clipboard_formats.h"

using namespace clipboard_formats;

namespace {
constexpr unsigned kLocale = 16, kHDrop = 15, kHtml = 0xC0A1, kRtf = 0xC0B2;
}

TEST(ClipboardFormats, KeepsTheFormatAProgramPutAndNotTheOnesTheSystemDerives) {
  // Text put as Unicode: the system adds ANSI and OEM text (and the locale) after it.
  EXPECT_EQ(FormatsToSave({kUnicodeText, kHtml, kText, kOemText, kLocale}),
            (std::vector<unsigned>{kUnicodeText, kHtml, kLocale}));
  // Text put as ANSI text keeps ANSI text.
  EXPECT_EQ(FormatsToSave({kText, kLocale, kUnicodeText, kOemText}),
            (std::vector<unsigned>{kText, kLocale}));
  // A DIB with its derived bitmap and DIBV5; an enhanced metafile with its metafile picture.
  EXPECT_EQ(FormatsToSave({kDib, kBitmap, kDibV5}), std::vector<unsigned>{kDib});
  EXPECT_EQ(FormatsToSave({kEnhMetafile, kMetafilePict}), std::vector<unsigned>{kEnhMetafile});
  EXPECT_EQ(FormatsToSave({kBitmap, kPalette, kDib}), (std::vector<unsigned>{kBitmap, kPalette}));
}

TEST(ClipboardFormats, TextBesideAPictureAndOtherFormatsAllStay) {
  EXPECT_EQ(FormatsToSave({kHDrop, kRtf, kUnicodeText, kDib, kHtml, kText, kBitmap}),
            (std::vector<unsigned>{kHDrop, kRtf, kUnicodeText, kDib, kHtml}));
}

TEST(ClipboardFormats, HandlesThatCannotBeCopiedAreLeftOut) {
  EXPECT_EQ(FormatsToSave({kOwnerDisplay, kPrivateFirst, kPrivateLast, kGdiObjFirst + 5,
                           kGdiObjLast, kDspText, 0}),
            std::vector<unsigned>{kDspText});
}
