// Which clipboard formats a capture saves and puts back.
#include <gtest/gtest.h>

#include "capture/clipboard_formats.h"

using namespace clipboard_formats;
using Formats = std::vector<unsigned>;

TEST(ClipboardFormats, KeepsWhatAProgramPutAndLeavesOutWhatTheSystemDerivesOrCannotBeCopied) {
  constexpr unsigned kLocale = 16, kHDrop = 15, kHtml = 0xC0A1;
  // Text put as Unicode: the system adds ANSI and OEM text after it; put as ANSI, the reverse.
  EXPECT_EQ(FormatsToSave({kHDrop, kUnicodeText, kHtml, kText, kOemText, kLocale}), (Formats{kHDrop, kUnicodeText, kHtml, kLocale}));
  EXPECT_EQ(FormatsToSave({kText, kLocale, kUnicodeText, kOemText}), (Formats{kText, kLocale}));
  // A DIB with its derived bitmap and DIBV5; an enhanced metafile with its metafile picture.
  EXPECT_EQ(FormatsToSave({kDib, kBitmap, kDibV5, kEnhMetafile, kMetafilePict}), (Formats{kDib, kEnhMetafile}));
  EXPECT_EQ(FormatsToSave({kBitmap, kPalette, kDib}), (Formats{kBitmap, kPalette}));
  EXPECT_EQ(FormatsToSave({kOwnerDisplay, kPrivateFirst, kPrivateLast, kGdiObjFirst + 5, kGdiObjLast, kDspText, 0}),
            Formats{kDspText});
}
