#include "engine/dbf/dbf_format.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/byteorder.h"

namespace kv::engine {

namespace {

// Offsets inside the header and inside a descriptor.
constexpr std::size_t kVersionAt = 0, kDateAt = 1, kCountAt = 4, kHeaderLengthAt = 8,
                      kRecordLengthAt = 10, kKeptAt = 28;
constexpr std::size_t kNameAt = 0, kNameBytes = 11, kTypeAt = 11, kWidthAt = 16, kDecimalsAt = 17;
constexpr std::size_t kMaxNameLength = 10;

// The checks of readDbfLayout on the bytes it read.
class LayoutReader {
 public:
  explicit LayoutReader(DbfLayout& out) : out_(out) {}

  void read(platform::File& file) {
    const std::int64_t size = file.size();
    std::uint8_t h[kDbfHeaderSize];
    if (size < static_cast<std::int64_t>(kDbfHeaderSize) ||
        file.readAt(0, h, kDbfHeaderSize) != static_cast<std::int64_t>(kDbfHeaderSize)) {
      problem("the file is shorter than the 32-byte table header");
      return;
    }
    out_.headerRead = true;
    out_.header = decodeDbfHeader(h);
    const DbfHeader& hd = out_.header;
    bool opens = true;
    if (!knownDbfVersion(hd.version)) {
      problem("version byte " + hexByteText(hd.version) + " is neither 0x03 nor 0x83");
      opens = false;
    }
    const std::uint32_t hdr = hd.headerLength;
    if (hdr < kDbfHeaderSize + 1 || hdr > static_cast<std::uint64_t>(size)) {
      problem("header length " + std::to_string(hdr) + " does not fit a file of " +
              std::to_string(size) + " bytes");
      return;
    }
    std::vector<std::uint8_t> head(hdr);
    if (file.readAt(0, head.data(), hdr) != hdr) {
      problem("the header cannot be read");
      return;
    }
    out_.descriptorsExamined = true;
    if (!readDescriptors(head)) opens = false;
    out_.opens = opens && hd.recordLength >= 1;
  }

 private:
  void problem(const std::string& text) { out_.problems.push_back(text); }
  void note(const std::string& text) { out_.notes.push_back(text); }

  // Descriptors from offset 32 up to the 0x0D terminator; answers whether the driver can
  // lay out the record from them.
  bool readDescriptors(const std::vector<std::uint8_t>& head) {
    const DbfHeader& hd = out_.header;
    const std::uint32_t hdr = hd.headerLength;
    std::uint32_t off = kDbfHeaderSize;
    std::uint32_t offset = 1;  // the next field's place in the record, after the flag
    int count = 0;
    bool sound = true, memoField = false;
    while (off < hdr && head[off] != kDbfDescriptorEnd) {
      ++count;
      std::string where = "field " + std::to_string(count);
      if (off + kDbfDescriptorSize > hdr) {
        // The driver reads whole descriptors only, so it lays out the fields before this one.
        problem(where + ": descriptor runs past the header length " + std::to_string(hdr));
        return !out_.fields.empty() && offset <= hd.recordLength && sound;
      }
      const std::uint8_t* d = head.data() + off;
      std::size_t len = 0;
      while (len < kNameBytes && d[kNameAt + len] != 0) ++len;
      if (len == 0) problem(where + ": descriptor without a name");
      if (len > kMaxNameLength) problem(where + ": name is not ended by a zero byte");
      const std::string name(reinterpret_cast<const char*>(d + kNameAt),
                             std::min(len, kMaxNameLength));
      where += " (" + name + ")";
      Field f;
      f.name = upperName(name);
      f.type = static_cast<char>(d[kTypeAt]);
      int width = d[kWidthAt], dec = d[kDecimalsAt];
      switch (f.type) {
        case 'C':
          width += 256 * dec;
          if (width == 0) problem(where + ": character field of width 0");
          f.width = width;
          break;
        case 'N':
          if (width == 0) problem(where + ": number field of width 0");
          if (dec > 0 && dec >= width)
            problem(where + ": " + std::to_string(dec) + " decimals in a width of " +
                    std::to_string(width));
          f.width = width;
          f.dec = dec;
          break;
        case 'D':
        case 'L':
        case 'M': {
          const int want = recordWidth(f.type, width);
          if (width != want)
            problem(where + ": " + std::string(1, f.type) + " field of width " +
                    std::to_string(width) + ", not " + std::to_string(want));
          f.width = want;
          memoField = memoField || f.type == 'M';
          break;
        }
        default:
          problem(where + ": unknown field type " + hexByteText(d[kTypeAt]));
          sound = false;
          f.width = width;
          break;
      }
      f.offset = offset;
      offset += static_cast<std::uint32_t>(recordWidth(f.type, f.width));
      out_.fields.push_back(std::move(f));
      off += kDbfDescriptorSize;
    }
    out_.descriptorsRead = true;
    if (count == 0) {
      problem("no field descriptors");
      sound = false;
    }
    if (off >= hdr) {
      problem("no descriptor terminator 0x0D inside the header length " + std::to_string(hdr));
    } else if (hdr > off + 2) {
      note("header length " + std::to_string(hdr) + " leaves " + std::to_string(hdr - off - 1) +
           " bytes after the descriptor terminator");
    }
    if (hd.recordLength != offset) {
      problem("record length " + std::to_string(hd.recordLength) +
              " in the header, the fields need " + std::to_string(offset));
      // Every field must lie inside the record, or reading it would leave the buffer.
      if (hd.recordLength < offset) sound = false;
    }
    if (memoField && !hd.hasMemo()) problem("memo field in a table of version 0x03");
    if (hd.hasMemo() && !memoField) note("version 0x83 without a memo field");
    return sound;
  }

  DbfLayout& out_;
};

}  // namespace

std::string hexByteText(unsigned v) {
  char b[8];
  std::snprintf(b, sizeof b, "0x%02X", v & 0xFFu);
  return b;
}

bool knownDbfVersion(std::uint8_t version) {
  return version == kDbfPlain || version == kDbfWithMemo;
}

void encodeDbfHeader(const DbfHeader& h, std::uint8_t* bytes) {
  std::memset(bytes, 0, kDbfHeaderSize);
  bytes[kVersionAt] = h.version;
  bytes[kDateAt] = h.year;
  bytes[kDateAt + 1] = h.month;
  bytes[kDateAt + 2] = h.day;
  platform::writeLe32(bytes + kCountAt, h.recordCount);
  platform::writeLe16(bytes + kHeaderLengthAt, h.headerLength);
  platform::writeLe16(bytes + kRecordLengthAt, h.recordLength);
  platform::writeLe16(bytes + kKeptAt, h.kept);
}

DbfHeader decodeDbfHeader(const std::uint8_t* bytes) {
  DbfHeader h;
  h.version = bytes[kVersionAt];
  h.year = bytes[kDateAt];
  h.month = bytes[kDateAt + 1];
  h.day = bytes[kDateAt + 2];
  h.recordCount = platform::readLe32(bytes + kCountAt);
  h.headerLength = platform::readLe16(bytes + kHeaderLengthAt);
  h.recordLength = platform::readLe16(bytes + kRecordLengthAt);
  h.kept = platform::readLe16(bytes + kKeptAt);
  return h;
}

void setDbfRecordCount(std::uint8_t* bytes, std::uint32_t count) {
  platform::writeLe32(bytes + kCountAt, count);
}

int recordWidth(char type, int width) {
  switch (type) {
    case 'D':
      return 8;
    case 'L':
      return 1;
    case 'M':
      return 10;
    default:
      return width;
  }
}

std::uint32_t layOutNewFields(std::vector<Field>& fields) {
  std::uint32_t offset = 1;
  for (Field& f : fields) {
    f.width = recordWidth(f.type, f.width);
    f.offset = offset;
    offset += static_cast<std::uint32_t>(f.width);
  }
  return offset;
}

std::uint32_t newHeaderLength(std::size_t fieldCount) {
  return static_cast<std::uint32_t>(kDbfHeaderSize + kDbfDescriptorSize * fieldCount + 2);
}

std::vector<std::uint8_t> encodeNewDescriptors(const std::vector<Field>& fields) {
  std::vector<std::uint8_t> out(kDbfDescriptorSize * fields.size() + 3, 0);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Field& f = fields[i];
    std::uint8_t* d = out.data() + kDbfDescriptorSize * i;
    std::memcpy(d + kNameAt, f.name.data(), std::min(f.name.size(), kMaxNameLength));
    char letter = f.type;
    switch (f.type) {
      case 'C':
        d[kWidthAt] = static_cast<std::uint8_t>(f.width % 256);
        d[kDecimalsAt] = static_cast<std::uint8_t>(f.width / 256);
        break;
      case 'D':
      case 'L':
      case 'M':
        d[kWidthAt] = static_cast<std::uint8_t>(recordWidth(f.type, f.width));
        break;
      case 'N':
        d[kWidthAt] = static_cast<std::uint8_t>(f.width);
        d[kDecimalsAt] = static_cast<std::uint8_t>(f.dec);
        break;
      default:
        letter = 'U';
        d[kWidthAt] = static_cast<std::uint8_t>(f.width);
        d[kDecimalsAt] = static_cast<std::uint8_t>(f.dec);
        break;
    }
    d[kTypeAt] = static_cast<std::uint8_t>(letter);
  }
  const std::size_t n = out.size();
  out[n - 3] = kDbfDescriptorEnd;
  out[n - 2] = 0x00;
  out[n - 1] = kDbfEndOfFile;
  return out;
}

DbfLayout readDbfLayout(platform::File& file) {
  DbfLayout out;
  LayoutReader(out).read(file);
  return out;
}

}  // namespace kv::engine
