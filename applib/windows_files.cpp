// Whole files on Windows. A writer opens its temporary file without sharing
// it: nobody else can open it until the writer has renamed it over its
// target, through the same handle, so the handle is the writer's lock. A
// temporary file that can be opened was left by a writer that died.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>

#include "applib/files.h"

namespace applib {

namespace fs = std::filesystem;

namespace {

// Closes a handle when it goes out of scope.
struct HandleCloser {
  void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle Open(const fs::path& path, DWORD access, DWORD share, DWORD disposition, DWORD flags = 0) {
  HANDLE handle = ::CreateFileW(path.c_str(), access, share, nullptr, disposition, flags, nullptr);
  return Handle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool WriteAll(HANDLE file, std::string_view data) {
  while (!data.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
    if (!::WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
    data.remove_prefix(written);
  }
  return true;
}

// Opening a file that a live writer holds fails; a dead writer's file opens
// and goes when it is closed.
void RemoveDeadTemporaries(const fs::path& target) {
  for (const fs::path& path : TemporariesOf(target)) {
    Open(path, GENERIC_READ | DELETE, 0, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT);
  }
}

Handle CreateTemporary(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path temporary = TemporaryPath(target, ::GetCurrentProcessId(), counter++);
    Handle file = Open(temporary, GENERIC_WRITE | DELETE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
    if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return nullptr;
}

// The attributes an existing target keeps (read-only ones are never
// replaced); none for a new file.
void KeepAttributes(HANDLE file, const fs::path& target) {
  const DWORD old = ::GetFileAttributesW(target.c_str());
  constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
  if (old == INVALID_FILE_ATTRIBUTES || (old & kKept) == 0) return;
  FILE_BASIC_INFO info{};  // zero times stay as they are
  info.FileAttributes = (old & kKept) | FILE_ATTRIBUTE_ARCHIVE;
  ::SetFileInformationByHandle(file, FileBasicInfo, &info, sizeof info);
}

// Renames the open file to `target`, replacing what is there.
bool RenameTo(HANDLE file, const fs::path& target) {
  const std::wstring name = fs::absolute(target).native();
  const std::size_t size = sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t);
  const auto buffer = std::make_unique<unsigned char[]>(size);
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.get());
  rename->ReplaceIfExists = TRUE;
  rename->RootDirectory = nullptr;
  rename->FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  name.copy(rename->FileName, name.size());
  return ::SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(size)) != 0;
}

void DeleteWhenClosed(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{};
  disposition.DeleteFile = TRUE;
  ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const fs::path& path) {
  const Handle file = Open(path, GENERIC_READ, kShareAll, OPEN_EXISTING);
  if (!file || ::GetFileType(file.get()) != FILE_TYPE_DISK) return std::nullopt;
  std::string content;
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) return content;
    content.append(buffer, got);
  }
}

std::optional<std::string> ReadForUpdate(fs::path& target) {
  DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) return std::string();
    return std::nullopt;
  }
  // Write through a link to the file it names, so the link stays a link.
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    const Handle file = Open(target, 0, kShareAll, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (!file) return std::nullopt;
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = ::GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()), 0);
    if (length >= name.size()) {
      name.resize(length);
      length = ::GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()), 0);
    }
    if (length == 0 || length >= name.size()) return std::nullopt;
    name.resize(length);
    target = fs::path(name);
    attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
  }
  // A settings file made read-only stays as it is.
  if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return std::nullopt;
  return ReadWholeFile(target);
}

bool ReplaceWholeFile(const fs::path& target, std::string_view content) {
  RemoveDeadTemporaries(target);
  const Handle file = CreateTemporary(target);
  if (!file) return false;
  KeepAttributes(file.get(), target);
  // The data reach the disk before the rename.
  if (!WriteAll(file.get(), content) || !::FlushFileBuffers(file.get()) || !RenameTo(file.get(), target)) {
    DeleteWhenClosed(file.get());
    return false;
  }
  // Makes the rename last through a power cut. Best effort: it has happened
  // anyway.
  ::FlushFileBuffers(file.get());
  return true;
}

}  // namespace applib
