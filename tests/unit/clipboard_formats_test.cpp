// Which clipboard formats a capture saves and puts back.
#include <gtest/gtest.h>

#include "capture/clipboard_formats.h"

using namespace clipboard_formats;
using Formats = std::vector<unsigned>;

TEST(ClipboardFormats, KeepsWhatAProgramPutAndLeavesOutWhatTheSystemDerivesOrCannotBeCopied) {
  constexpr unsigned kLocale = 16, kHDrop = 15, kHtml = 0xC0A1, kRtf = 0xC0B2;
  // Text put as Unicode: the system adds ANSI and OEM text after it; put as ANSI, the reverse.
  EXPECT_EQ(FormatsToSave({kUnicodeText, kHtml, kText, kOemText, kLocale}), (Formats{kUnicodeText, kHtml, kLocale}));
  EXPECT_EQ(FormatsToSave({kText, kLocale, kUnicodeText, kOemText}), (Formats{kText, kLocale}));
  // A DIB with its derived bitmap and DIBV5; an enhanced metafile with its metafile picture.
  EXPECT_EQ(FormatsToSave({kDib, kBitmap, kDibV5}), Formats{kDib});
  EXPECT_EQ(FormatsToSave({kEnhMetafile, kMetafilePict}), Formats{kEnhMetafile});
  EXPECT_EQ(FormatsToSave({kBitmap, kPalette, kDib}), (Formats{kBitmap, kPalette}));
  EXPECT_EQ(FormatsToSave({kHDrop, kRtf, kUnicodeText, kDib, kHtml, kText, kBitmap}),
            (Formats{kHDrop, kRtf, kUnicodeText, kDib, kHtml}));
  EXPECT_EQ(FormatsToSave({kOwnerDisplay, kPrivateFirst, kPrivateLast, kGdiObjFirst + 5, kGdiObjLast, kDspText, 0}),
            Formats{kDspText});
}
