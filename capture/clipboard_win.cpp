#include "capture/clipboard_win.h"

#include <algorithm>
#include <cstring>

namespace clipboard {
namespace {

DWORD Remaining(DWORD until) {
  const auto left = static_cast<int>(until - ::GetTickCount());
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

std::string GlobalBytes(HANDLE data) {
  const SIZE_T size = ::GlobalSize(data);
  if (size == 0) return {};
  win::global_lock<char> lock(data);
  if (!lock) return {};
  return std::string(lock.get(), size);
}

win::unique_hglobal GlobalFrom(const void* bytes, std::size_t size) {
  win::unique_hglobal mem(::GlobalAlloc(GMEM_MOVEABLE, size));
  if (mem && size > 0) {
    win::global_lock<void> lock(mem.get());
    if (!lock) return {};
    std::memcpy(lock.get(), bytes, size);
  }
  return mem;
}

// Hands `data` to the clipboard, which owns it from then on; false (data still ours) on failure.
bool Hand(UINT format, HANDLE data) { return data && ::SetClipboardData(format, data) != nullptr; }

}  // namespace

void ProcessSentMessages(DWORD ms) {
  const DWORD until = ::GetTickCount() + ms;
  for (;;) {
    MSG msg;
    ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    const DWORD left = Remaining(until);
    if (left == 0) return;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(left, 10), QS_SENDMESSAGE, 0);
  }
}

Session::Session(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (::OpenClipboard(owner)) {
      open_ = true;
      return;
    }
    ProcessSentMessages(15);  // another program has it open: usually for a moment only
  }
}

Session::~Session() {
  if (open_) ::CloseClipboard();
}

std::optional<std::wstring> ReadText(HWND owner) {
  Session session(owner);
  if (!session) return std::nullopt;
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return std::wstring();
  win::global_lock<const wchar_t> text(data);
  if (!text) return std::wstring();
  const std::size_t max_chars = ::GlobalSize(data) / sizeof(wchar_t);
  return std::wstring(text.get(), std::find(text.get(), text.get() + max_chars, L'\0'));
}

bool Backup::Copy(UINT format, HANDLE data, Item& item) {
  using clipboard_formats::Storage;
  item.format = format;
  item.storage = clipboard_formats::StorageOf(format);
  switch (item.storage) {
    case Storage::Memory:
      item.bytes = GlobalBytes(data);
      return true;
    case Storage::Bitmap:
      item.bitmap.reset(static_cast<HBITMAP>(::CopyImage(data, IMAGE_BITMAP, 0, 0, 0)));
      return static_cast<bool>(item.bitmap);
    case Storage::MetafilePict: {
      win::global_lock<METAFILEPICT> picture(data);
      if (!picture) return false;
      item.picture = *picture.get();
      const UINT size = ::GetMetaFileBitsEx(item.picture.hMF, 0, nullptr);
      if (size == 0) return false;
      item.bytes.resize(size);
      item.picture.hMF = nullptr;
      return ::GetMetaFileBitsEx(picture.get()->hMF, size, item.bytes.data()) == size;
    }
    case Storage::EnhMetafile: {
      auto emf = static_cast<HENHMETAFILE>(data);
      const UINT size = ::GetEnhMetaFileBits(emf, 0, nullptr);
      if (size == 0) return false;
      item.bytes.resize(size);
      return ::GetEnhMetaFileBits(emf, size, reinterpret_cast<BYTE*>(item.bytes.data())) == size;
    }
    case Storage::Palette: {
      auto palette = static_cast<HPALETTE>(data);
      const UINT count = ::GetPaletteEntries(palette, 0, 0, nullptr);
      if (count == 0) return false;
      item.bytes.resize(count * sizeof(PALETTEENTRY));
      return ::GetPaletteEntries(palette, 0, count,
                                 reinterpret_cast<PALETTEENTRY*>(item.bytes.data())) == count;
    }
    case Storage::NotCopyable:
      break;
  }
  return false;
}

bool Backup::Put(Item& item) {
  using clipboard_formats::Storage;
  switch (item.storage) {
    case Storage::Memory: {
      win::unique_hglobal mem = GlobalFrom(item.bytes.data(), item.bytes.size());
      if (!Hand(item.format, mem.get())) return false;
      mem.release();  // SetClipboardData owns it now
      return true;
    }
    case Storage::Bitmap:
      if (!Hand(item.format, item.bitmap.get())) return false;
      item.bitmap.release();
      return true;
    case Storage::MetafilePict: {
      METAFILEPICT picture = item.picture;
      picture.hMF = ::SetMetaFileBitsEx(static_cast<UINT>(item.bytes.size()),
                                        reinterpret_cast<const BYTE*>(item.bytes.data()));
      if (!picture.hMF) return false;
      win::unique_hglobal mem = GlobalFrom(&picture, sizeof picture);
      if (!Hand(item.format, mem.get())) {
        ::DeleteMetaFile(picture.hMF);
        return false;
      }
      mem.release();  // the clipboard owns the picture and its metafile now
      return true;
    }
    case Storage::EnhMetafile: {
      HENHMETAFILE emf = ::SetEnhMetaFileBits(static_cast<UINT>(item.bytes.size()),
                                              reinterpret_cast<const BYTE*>(item.bytes.data()));
      if (Hand(item.format, emf)) return true;
      if (emf) ::DeleteEnhMetaFile(emf);
      return false;
    }
    case Storage::Palette: {
      const auto count = static_cast<WORD>(item.bytes.size() / sizeof(PALETTEENTRY));
      std::string buffer(offsetof(LOGPALETTE, palPalEntry) + item.bytes.size(), '\0');
      auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
      logical->palVersion = 0x300;
      logical->palNumEntries = count;
      std::memcpy(logical->palPalEntry, item.bytes.data(), item.bytes.size());
      win::unique_gdi palette(::CreatePalette(logical));
      if (!Hand(item.format, palette.get())) return false;
      palette.release();
      return true;
    }
    case Storage::NotCopyable:
      break;
  }
  return false;
}

bool Backup::Save(HWND owner) {
  items_.clear();
  Session session(owner);
  if (!session) return false;
  std::vector<unsigned> offered;
  for (UINT format = ::EnumClipboardFormats(0); format != 0; format = ::EnumClipboardFormats(format))
    offered.push_back(format);
  for (unsigned format : clipboard_formats::FormatsToSave(offered)) {
    HANDLE data = ::GetClipboardData(format);
    if (!data) continue;  // a format that cannot be read is skipped
    Item item;
    if (Copy(format, data, item)) items_.push_back(std::move(item));
  }
  return true;
}

bool Backup::Restore(HWND owner, DWORD expected_sequence) {
  std::vector<Item> items = std::move(items_);
  items_.clear();
  Session session(owner);
  if (!session) return false;
  // Opened: nobody can change the clipboard between this check and the restore.
  if (::GetClipboardSequenceNumber() != expected_sequence) return false;
  ::EmptyClipboard();
  for (Item& item : items) Put(item);
  // Clipboard-history and clipboard-sync tools skip content carrying this format.
  static const UINT exclude =
      ::RegisterClipboardFormatW(L"ExcludeClipboardContentFromMonitorProcessing");
  const DWORD zero = 0;
  win::unique_hglobal marker = GlobalFrom(&zero, sizeof zero);
  if (exclude && Hand(exclude, marker.get())) marker.release();
  return true;
}

std::vector<UINT> Backup::Formats() const {
  std::vector<UINT> formats;
  for (const Item& item : items_) formats.push_back(item.format);
  return formats;
}

}  // namespace clipboard
