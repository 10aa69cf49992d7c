#include "tools/kalvedo_db_archive.h"

#include <archive.h>
#include <archive_entry.h>

namespace kv::tools {

ZipWriter::ZipWriter(platform::File& out) : out_(out) {
  a_ = archive_write_new();
  archive_write_set_format_zip(a_);
  archive_write_zip_set_compression_deflate(a_);
  // Blocks of 64 KiB, and no padding after the last one: the file ends with the archive.
  archive_write_set_bytes_per_block(a_, 65536);
  archive_write_set_bytes_in_last_block(a_, 1);
  if (archive_write_open(a_, this, nullptr, &ZipWriter::writeBlock, nullptr) != ARCHIVE_OK)
    failed();
}

ZipWriter::~ZipWriter() {
  // An archive that was not finished is abandoned: nothing more is written to the file.
  if (!finished_) archive_write_fail(a_);
  archive_write_free(a_);
}

long ZipWriter::writeBlock(struct archive* a, void* self, const void* buf, std::size_t n) {
  auto* w = static_cast<ZipWriter*>(self);
  const std::int64_t done = w->out_.write(buf, n);
  if (done != static_cast<std::int64_t>(n)) {
    w->osError_ = platform::lastOsError();
    if (w->osError_ == 0) w->osError_ = 112;  // a short write without a code: the disk is full
    archive_set_error(a, EIO, "the archive file cannot be written");
    return -1;
  }
  return static_cast<long>(n);
}

bool ZipWriter::failed() {
  const char* text = archive_error_string(a_);
  error_ = text ? text : "the archive library failed";
  return false;
}

bool ZipWriter::add(const ArchiveEntry& e) {
  if (!error_.empty()) return false;
  struct archive_entry* entry = archive_entry_new();
  archive_entry_set_pathname(entry, e.name.c_str());
  archive_entry_set_size(entry, static_cast<la_int64_t>(e.bytes.size()));
  archive_entry_set_filetype(entry, AE_IFREG);
  archive_entry_set_perm(entry, 0644);
  archive_entry_set_mtime(entry, e.mtime, 0);
  bool ok = archive_write_header(a_, entry) == ARCHIVE_OK;
  archive_entry_free(entry);
  std::size_t at = 0;
  while (ok && at < e.bytes.size()) {
    la_ssize_t n = archive_write_data(a_, e.bytes.data() + at, e.bytes.size() - at);
    if (n <= 0) ok = false;
    at += static_cast<std::size_t>(n > 0 ? n : 0);
  }
  if (ok) ok = archive_write_finish_entry(a_) == ARCHIVE_OK;
  return ok || failed();
}

bool ZipWriter::finish() {
  if (!error_.empty()) return false;
  finished_ = true;
  return archive_write_close(a_) == ARCHIVE_OK || failed();
}

bool readZip(const std::string& path, std::vector<ArchiveEntry>& out, std::string& error) {
  struct archive* a = archive_read_new();
  archive_read_support_format_zip(a);
  bool ok = archive_read_open_filename(a, path.c_str(), 65536) == ARCHIVE_OK;
  struct archive_entry* entry = nullptr;
  while (ok) {
    int r = archive_read_next_header(a, &entry);
    if (r == ARCHIVE_EOF) break;
    if (r != ARCHIVE_OK) {
      ok = false;
      break;
    }
    ArchiveEntry e;
    e.name = archive_entry_pathname(entry);
    e.mtime = archive_entry_mtime(entry);
    char buf[65536];
    la_ssize_t n;
    while ((n = archive_read_data(a, buf, sizeof buf)) > 0)
      e.bytes.append(buf, static_cast<std::size_t>(n));
    if (n < 0) ok = false;  // a damaged entry or a checksum that does not match
    out.push_back(std::move(e));
  }
  if (!ok) {
    const char* text = archive_error_string(a);
    error = text ? text : "the archive cannot be read";
  }
  archive_read_free(a);
  return ok;
}

}  // namespace kv::tools
