// Whole-file reads and crash-safe replacement through the wide file APIs: the program's GBK
// path becomes UTF-16 here, so Chinese names reach the disk as themselves whatever the
// system's ANSI code page.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/files/file_access.h"
#include "support/files/replacement_names.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

// Bytes a single ReadFile or WriteFile moves, well inside a DWORD.
constexpr DWORD kBlockBytes = 1 << 20;

// Closes a handle at scope end unless closed before.
class FileHandle {
 public:
  explicit FileHandle(HANDLE opened) : handle_(opened) {}
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE Get() const { return handle_; }
  bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const bool closed = CloseHandle(handle_) != FALSE;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// A zero byte would silently cut the path short at the system call.
std::optional<std::wstring> WidePath(const Text& path) {
  if (path.empty() || path.find('\0') != Text::npos) return std::nullopt;
  const std::u16string wide = ToUtf16(path);
  return std::wstring(wide.begin(), wide.end());
}

bool ReadAll(HANDLE file, std::string& contents) {
  char buffer[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) return false;
    if (got == 0) return true;
    contents.append(buffer, got);
  }
}

bool WriteAll(HANDLE file, std::string_view contents) {
  while (!contents.empty()) {
    DWORD put = 0;
    const auto block = static_cast<DWORD>(std::min<std::size_t>(contents.size(), kBlockBytes));
    if (!WriteFile(file, contents.data(), block, &put, nullptr) || put == 0) return false;
    contents.remove_prefix(put);
  }
  return true;
}

// Writes go to the file that a symbolic link names, as writing through the link would, and
// leave the link in place.
std::wstring ResolvedTarget(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    return path;
  }
  const FileHandle linked(CreateFileW(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!linked.IsOpen()) return path;
  std::wstring target(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(linked.Get(), target.data(),
                                           static_cast<DWORD>(target.size()), FILE_NAME_NORMALIZED);
  if (length >= target.size()) {
    target.resize(length);
    length = GetFinalPathNameByHandleW(linked.Get(), target.data(),
                                       static_cast<DWORD>(target.size()), FILE_NAME_NORMALIZED);
  }
  if (length == 0 || length >= target.size()) return path;
  target.resize(length);
  return target;
}

// A fresh file beside path, created exclusively so two writers never share one; its bytes
// reach the disk as they are written.
HANDLE CreateSiblingFile(const std::wstring& path, std::wstring& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    // The suffix alone is made by the shared rule: the path itself may hold characters
    // that GBK lacks.
    const std::string suffix = ReplacementName("", GetCurrentProcessId(), ++counter);
    name = path + std::wstring(suffix.begin(), suffix.end());
    const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// ReplaceFileW keeps the old file's attributes and permissions on the new one; a path that
// holds no file yet takes the new one by a plain move.
bool MoveIntoPlace(const std::wstring& written, const std::wstring& path) {
  if (ReplaceFileW(path.c_str(), written.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                   nullptr)) {
    return true;
  }
  return GetLastError() == ERROR_FILE_NOT_FOUND &&
         MoveFileExW(written.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Another process with that id runs; this process's own id is an earlier one's, as it has
// written nothing yet.
bool ProcessRuns(unsigned long process) {
  if (process == GetCurrentProcessId()) return false;
  const HANDLE opened = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(process));
  if (opened == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
  const bool runs = WaitForSingleObject(opened, 0) == WAIT_TIMEOUT;
  CloseHandle(opened);
  return runs;
}

// The names in folder that start with prefix.
std::vector<std::wstring> NamesStartingWith(const std::wstring& folder,
                                            const std::wstring& prefix) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((folder + L"\\" + prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

// Refused unless it is a file on a disk, so a pipe or device named by the caller can never
// stall the read.
std::optional<std::string> ReadWholeFile(const Text& path, bool missingIsEmpty) {
  const std::optional<std::wstring> wide = WidePath(path);
  if (!wide) return std::nullopt;
  const FileHandle file(CreateFileW(wide->c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsOpen()) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    if (missingIsEmpty && missing) return std::string();
    return std::nullopt;
  }
  std::string contents;
  if (GetFileType(file.Get()) != FILE_TYPE_DISK || !ReadAll(file.Get(), contents)) {
    return std::nullopt;
  }
  return contents;
}

bool ReplaceWholeFile(const Text& given, std::string_view contents) {
  const std::optional<std::wstring> wide = WidePath(given);
  if (!wide) return false;
  const std::wstring path = ResolvedTarget(*wide);
  // Wine's ReplaceFileW would put the file in place of a folder.
  if (IsDirectory(path)) return false;
  std::wstring name;
  FileHandle file(CreateSiblingFile(path, name));
  if (!file.IsOpen()) return false;
  const bool written = WriteAll(file.Get(), contents) && FlushFileBuffers(file.Get());
  if (file.Close() && written && MoveIntoPlace(name, path)) return true;
  DeleteFileW(name.c_str());
  return false;
}

// Every folder on the way is created in turn; those that exist, or that cannot be made (a
// drive, a share), are passed by, and the answer is whether the whole path is a folder.
bool CreateDirectories(const Text& path) {
  const std::optional<std::wstring> given = WidePath(path);
  if (!given) return false;
  std::wstring wide = *given;
  std::replace(wide.begin(), wide.end(), L'/', L'\\');
  for (std::size_t slash = wide.find(L'\\', 1); slash != std::wstring::npos;
       slash = wide.find(L'\\', slash + 1)) {
    CreateDirectoryW(wide.substr(0, slash).c_str(), nullptr);
  }
  CreateDirectoryW(wide.c_str(), nullptr);
  return IsDirectory(wide);
}

// The user's application data folder, where these files live, is closed to other users by
// its inherited permissions already.
void KeepFolderPrivate(const Text&) {}

void RemoveInterruptedReplacements(const Text& path) {
  const std::size_t separator = path.find_last_of("/\\");
  if (separator == Text::npos) return;
  const Text file = path.substr(separator + 1);
  const std::optional<std::wstring> folder = WidePath(path.substr(0, separator));
  const std::optional<std::wstring> wideFile = WidePath(file);
  if (!folder || !wideFile) return;
  for (const std::wstring& name : NamesStartingWith(*folder, *wideFile)) {
    const std::optional<unsigned long> writer =
        ReplacementWriter(ToGbk(std::u16string(name.begin(), name.end())), file);
    if (writer && !ProcessRuns(*writer)) DeleteFileW((*folder + L"\\" + name).c_str());
  }
}

}  // namespace vardelle
