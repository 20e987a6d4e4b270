#include "graphics/gif.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <utility>

namespace gif {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Has(std::size_t n) const { return bytes_.size() - at_ >= n; }
  int Byte() { return Has(1) ? static_cast<unsigned char>(bytes_[at_++]) : (failed_ = true, 0); }
  int Word() {
    const int low = Byte();
    return low | Byte() << 8;
  }
  void Skip(std::size_t n) {
    if (Has(n)) at_ += n; else failed_ = true;
  }
  std::string_view Take(std::size_t n) {
    if (!Has(n)) {
      failed_ = true;
      return {};
    }
    std::string_view part = bytes_.substr(at_, n);
    at_ += n;
    return part;
  }
  bool failed() const { return failed_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

// A colour table of 2^(bits+1) entries.
std::vector<std::uint32_t> ReadColours(Reader& in, int bits) {
  std::vector<std::uint32_t> colours(std::size_t{1} << (bits + 1));
  for (auto& colour : colours) {
    const std::uint32_t r = static_cast<std::uint32_t>(in.Byte());
    const std::uint32_t g = static_cast<std::uint32_t>(in.Byte());
    colour = r << 16 | g << 8 | static_cast<std::uint32_t>(in.Byte());
  }
  return colours;
}

// The data sub-blocks that follow, joined.
std::string ReadSubBlocks(Reader& in) {
  std::string data;
  for (int size = in.Byte(); size > 0 && !in.failed(); size = in.Byte()) data += in.Take(size);
  return data;
}

// The colour indices of `count` pixels, from LZW codes of `min_bits` + 1 bits and more.
std::optional<std::vector<std::uint8_t>> Unpack(std::string_view data, int min_bits, std::size_t count) {
  if (min_bits < 2 || min_bits > 8) return std::nullopt;
  constexpr int kMaxCodes = 4096;
  // Nothing is reserved on the header's word: `count` must be what the data can hold. Each code
  // takes at least min_bits + 1 bits, and the n-th code since a clear stands for at most n
  // indices, and never for more than a table holds.
  const std::uint64_t codes = data.size() * std::uint64_t{8} / static_cast<unsigned>(min_bits + 1);
  if (count > codes * std::min<std::uint64_t>(codes, kMaxCodes)) return std::nullopt;
  std::array<std::uint16_t, kMaxCodes> prefix{}, length{};
  std::array<std::uint8_t, kMaxCodes> suffix{}, first{};
  const int clear = 1 << min_bits, end = clear + 1;
  for (int code = 0; code < clear; ++code) {
    suffix[code] = first[code] = static_cast<std::uint8_t>(code);
    length[code] = 1;
  }
  std::vector<std::uint8_t> out;
  out.reserve(count);
  int bits = min_bits + 1, next = end + 1, previous = -1;
  std::uint32_t buffer = 0;
  int buffered = 0;
  std::size_t at = 0;
  while (out.size() < count) {
    while (buffered < bits && at < data.size()) {
      buffer |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[at++])) << buffered;
      buffered += 8;
    }
    if (buffered < bits) return std::nullopt;  // the data ended early
    const int code = static_cast<int>(buffer & ((1u << bits) - 1));
    buffer >>= bits;
    buffered -= bits;
    if (code == clear) {
      bits = min_bits + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (code == end) break;
    int emit = code;
    if (previous < 0) {
      if (code >= clear) return std::nullopt;
    } else if (next < kMaxCodes) {
      if (code > next) return std::nullopt;
      // A new entry: the previous string and the first index of this one (of itself when new).
      prefix[next] = static_cast<std::uint16_t>(previous);
      suffix[next] = code == next ? first[previous] : first[code];
      first[next] = first[previous];
      length[next] = static_cast<std::uint16_t>(length[previous] + 1);
      if (++next == 1 << bits && bits < 12) ++bits;
    } else if (code >= next) {
      return std::nullopt;
    }
    // The string of `emit`, written from its end.
    const std::size_t size = length[emit], start = out.size();
    out.resize(start + size);
    for (std::size_t i = size; i-- > 0; emit = prefix[emit]) out[start + i] = suffix[emit];
    previous = code;
  }
  if (out.size() < count) return std::nullopt;
  out.resize(count);
  return out;
}

}  // namespace

std::optional<Image> Decode(std::string_view bytes) {
  Reader in(bytes);
  const std::string_view signature = in.Take(6);
  if (signature != "GIF87a" && signature != "GIF89a") return std::nullopt;
  Image image;
  image.width = in.Word();
  image.height = in.Word();
  const int screen_flags = in.Byte();
  in.Skip(2);  // background colour, aspect ratio
  std::vector<std::uint32_t> colours;
  if (screen_flags & 0x80) colours = ReadColours(in, screen_flags & 7);
  for (;;) {
    const int block = in.Byte();
    if (in.failed() || block == 0x3B) return std::nullopt;  // no image
    if (block == 0x21) {
      const int label = in.Byte();
      const std::string data = ReadSubBlocks(in);
      if (label == 0xF9 && (data.empty() || (data[0] & 1))) return std::nullopt;  // transparent
      continue;
    }
    if (block != 0x2C) return std::nullopt;
    const int left = in.Word(), top = in.Word(), width = in.Word(), height = in.Word();
    const int flags = in.Byte();
    if (left != 0 || top != 0 || width != image.width || height != image.height || width == 0 ||
        height == 0)
      return std::nullopt;
    if (flags & 0x80) colours = ReadColours(in, flags & 7);
    const int min_bits = in.Byte();
    const std::string data = ReadSubBlocks(in);
    if (in.failed() || colours.empty()) return std::nullopt;
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const auto indices = Unpack(data, min_bits, count);
    if (!indices) return std::nullopt;
    // Interlaced rows come in four passes: every 8th from 0, every 8th from 4, every 4th
    // from 2, every 2nd from 1.
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(height));
    if (flags & 0x40) {
      for (auto [from, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
        for (int row = from; row < height; row += step) rows.push_back(row);
    } else {
      for (int row = 0; row < height; ++row) rows.push_back(row);
    }
    image.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
      const std::uint8_t index = (*indices)[i];
      if (index >= colours.size()) return std::nullopt;
      const std::size_t row = static_cast<std::size_t>(rows[i / static_cast<std::size_t>(width)]);
      image.pixels[row * static_cast<std::size_t>(width) + i % static_cast<std::size_t>(width)] = colours[index];
    }
    return image;
  }
}

}  // namespace gif
