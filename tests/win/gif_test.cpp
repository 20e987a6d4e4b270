// The program's own GIF decoder against the system's picture loader, on every picture it ships;
// and a cut-off file, which it must refuse rather than half-decode.
#include <gtest/gtest.h>

#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <vector>

#include "app/files_win.h"
#include "graphics/gif.h"
#include "graphics/picture_win.h"
#include "wine_util.h"

namespace {

std::wstring ImagePath(const wchar_t* name) { return testing_win::WindowsPath(BREVIO_BIN_DIR) + L"\\images\\" + name; }

// The system's own decoding of a file, through OLE as the program did before.
std::vector<std::uint32_t> SystemPixels(const std::string& bytes) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  win::unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  std::memcpy(::GlobalLock(memory.get()), bytes.data(), bytes.size());
  ::GlobalUnlock(memory.get());
  win::unique_com<IStream> stream;
  if (FAILED(::CreateStreamOnHGlobal(memory.release(), TRUE, stream.put()))) return {};
  void* loaded = nullptr;
  if (FAILED(::OleLoadPicture(stream.get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture, &loaded)))
    return {};
  win::unique_com<IPicture> picture(static_cast<IPicture*>(loaded));
  OLE_HANDLE handle = 0;
  picture.get()->get_Handle(&handle);
  return testing_win::BitmapPixels(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)));
}

}  // namespace

TEST(Gif, EveryShippedPictureDecodesAsTheSystemDecodesIt) {
  for (const wchar_t* name : {L"options.gif", L"phone4.gif", L"padlock_locked.gif", L"padlock_open.gif",
                              L"up.gif", L"down1.gif", L"send.gif", L"picclr1.gif"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
    const files::WholeFile file = files::ReadWholeFile(ImagePath(name), 1 << 20);
    ASSERT_TRUE(file.complete());
    ASSERT_TRUE(gif::Decode(file.bytes).has_value());  // not left to the system's loader
    const std::vector<std::uint32_t> expected = SystemPixels(file.bytes);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(testing_win::BitmapPixels(StdPicture::LoadFromFile(ImagePath(name)).Handle()), expected);
  }
}

TEST(Gif, ACutOffFileIsRefused) {
  const std::string whole = files::ReadWholeFile(ImagePath(L"options.gif"), 1 << 20).bytes;
  for (std::size_t keep : {std::size_t{3}, std::size_t{13}, whole.size() / 2, whole.size() - 40})
    EXPECT_FALSE(gif::Decode(whole.substr(0, keep)).has_value()) << keep << " bytes";
}
