#pragma once
// Reads the entries of a zip container (a written spreadsheet) for tests.
#include <dlfcn.h>
#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

namespace slownik::test {

// A small reader of the spreadsheet's zip container: the central directory gives
// each entry; deflated entries are inflated with zlib, looked up at run time (the
// spreadsheet library already loads it), so that the test needs nothing but the
// file itself.
class ZipEntries {
 public:
  explicit ZipEntries(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(in), {});
    valid_ = bytes_.size() > 22 && bytes_.compare(0, 4, "PK\x03\x04") == 0 && readDirectory();
  }
  bool valid() const { return valid_; }
  bool contains(const std::string& name) const { return entries_.count(name) > 0; }
  std::string text(const std::string& name) const {
    auto it = entries_.find(name);
    return it == entries_.end() ? std::string() : it->second;
  }

 private:
  std::uint32_t u16(std::size_t at) const {
    return static_cast<unsigned char>(bytes_[at]) | static_cast<unsigned char>(bytes_[at + 1]) << 8;
  }
  std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }

  bool readDirectory() {
    std::size_t end = bytes_.size() - 22;
    while (end > 0 && u32(end) != 0x06054b50) --end;
    if (u32(end) != 0x06054b50) return false;
    std::size_t count = u16(end + 10);
    std::size_t at = u32(end + 16);
    for (std::size_t i = 0; i < count; ++i) {
      if (at + 46 > bytes_.size() || u32(at) != 0x02014b50) return false;
      std::uint32_t method = u16(at + 10), packed = u32(at + 20), size = u32(at + 24);
      std::size_t nameLen = u16(at + 28), extraLen = u16(at + 30), commentLen = u16(at + 32);
      std::size_t local = u32(at + 42);
      std::string name = bytes_.substr(at + 46, nameLen);
      std::size_t data = local + 30 + u16(local + 26) + u16(local + 28);
      std::string raw = bytes_.substr(data, packed);
      std::string content;
      if (method == 0) content = raw;
      else if (method != 8 || !inflateRaw(raw, size, &content)) return false;
      entries_[name] = content;
      at += 46 + nameLen + extraLen + commentLen;
    }
    return true;
  }

  static bool inflateRaw(const std::string& in, std::size_t size, std::string* out) {
    using InitFn = int (*)(z_streamp, int, const char*, int);
    using InflateFn = int (*)(z_streamp, int);
    using EndFn = int (*)(z_streamp);
    void* lib = dlopen("libz.so.1", RTLD_NOW);
    if (!lib) return false;
    auto init = reinterpret_cast<InitFn>(dlsym(lib, "inflateInit2_"));
    auto step = reinterpret_cast<InflateFn>(dlsym(lib, "inflate"));
    auto done = reinterpret_cast<EndFn>(dlsym(lib, "inflateEnd"));
    if (!init || !step || !done) return false;
    z_stream z{};
    out->assign(size, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z.avail_in = static_cast<uInt>(in.size());
    z.next_out = reinterpret_cast<Bytef*>(out->data());
    z.avail_out = static_cast<uInt>(out->size());
    if (init(&z, -MAX_WBITS, ZLIB_VERSION, static_cast<int>(sizeof(z_stream))) != Z_OK) return false;
    int r = step(&z, Z_FINISH);
    done(&z);
    dlclose(lib);
    return r == Z_STREAM_END && z.total_out == size;
  }

  std::string bytes_;
  std::map<std::string, std::string> entries_;
  bool valid_ = false;
};

}  // namespace slownik::test
