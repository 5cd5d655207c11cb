#include "core/DeviceNames.h"
#include "core/Platform.h"
#include "core/platform/WindowsText.h"

#include <windows.h>

#include <io.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>

// Paths are UTF-8 in the program and UTF-16 on disk: every call here goes
// through the wide API, so no name depends on the system's code page.
namespace platform {

std::wstring widen(std::string_view text)
{
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::wstring widePath(std::string_view path, bool always)
{
    std::wstring wide = widen(path);
    // CreateDirectoryW stops at MAX_PATH - 12, every other call at MAX_PATH.
    if (wide.empty() || (!always && wide.size() < MAX_PATH - 12) || wide.starts_with(L"\\\\?\\"))
        return wide;
    DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(length, L'\0');
    length = GetFullPathNameW(wide.c_str(), length, full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return wide;
    full.resize(length);
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

std::string narrow(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                        nullptr, nullptr);
    return text;
}

// 100-ns ticks since 1601 to nanoseconds since 1970.
std::int64_t nanoseconds(const FILETIME& time)
{
    const std::int64_t ticks = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    return (ticks - 116444736000000000LL) * 100;
}

namespace {

HANDLE handle(File file)
{
    return reinterpret_cast<HANDLE>(file);
}

File fileOf(HANDLE h)
{
    return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<File>(h);
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

bool isFileAttributes(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

} // namespace

File openRegularFile(const std::string& path, std::uint64_t& size)
{
    // A folder cannot be opened this way; a device or pipe is refused below.
    HANDLE h = CreateFileW(widePath(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return kNoFile;
    LARGE_INTEGER length{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileSizeEx(h, &length)) {
        CloseHandle(h);
        return kNoFile;
    }
    size = static_cast<std::uint64_t>(length.QuadPart);
    return fileOf(h);
}

std::optional<std::size_t> read(File file, void* buffer, std::size_t count)
{
    auto* bytes = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(handle(file), bytes + done, want, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

bool writeAll(File file, std::string_view data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(handle(file), data.data() + done, want, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool flush(File file)
{
    return FlushFileBuffers(handle(file)) != 0;
}

bool close(File file)
{
    return CloseHandle(handle(file)) != 0;
}

File createNew(const std::string& path)
{
    return fileOf(CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

File createUnique(std::string& path)
{
    HANDLE h = INVALID_HANDLE_VALUE;
    tryUniqueNames(path, ERROR_FILE_EXISTS, [&] {
        h = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    });
    return h != INVALID_HANDLE_VALUE ? fileOf(h) : kNoFile;
}

bool setPermissions(File, unsigned)
{
    return true; // Windows keeps no permission bits on the file
}

unsigned newFileMode()
{
    return 0666;
}

std::optional<FileStatus> status(const std::string& path, Links links)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(widePath(path).c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    FileStatus status;
    const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    status.regular =
        isFileAttributes(data.dwFileAttributes) && !(link && links == Links::doNotFollow);
    status.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    !(link && links == Links::doNotFollow);
    status.mode = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status.modifiedNs = nanoseconds(data.ftLastWriteTime);
    return status;
}

namespace {

// Any file or folder, for asking about it.
HANDLE openForQuery(const std::string& path)
{
    return CreateFileW(widePath(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

} // namespace

std::optional<FileIdentity> identity(const std::string& path)
{
    HANDLE h = openForQuery(path);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(h, &info);
    CloseHandle(h);
    if (!known)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) |
                            info.nFileIndexLow};
}

std::optional<FileVersion> version(const std::string& path)
{
    HANDLE h = openForQuery(path);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO basic{};
    const bool known = GetFileInformationByHandle(h, &info) &&
                       GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic);
    CloseHandle(h);
    if (!known)
        return std::nullopt;
    FILETIME changed{static_cast<DWORD>(basic.ChangeTime.QuadPart),
                     static_cast<DWORD>(basic.ChangeTime.QuadPart >> 32)};
    return FileVersion{
        {info.dwVolumeSerialNumber,
         (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow},
        nanoseconds(changed)};
}

std::string absolutePath(const std::string& path)
{
    const std::wstring wide = widen(path);
    std::wstring full(MAX_PATH, L'\0');
    DWORD length =
        GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {
        full.resize(length);
        length =
            GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    if (length == 0 || length >= full.size())
        return path;
    full.resize(length);
    return narrow(full);
}

std::optional<std::string> resolvedPath(const std::string& path)
{
    HANDLE h = openForQuery(path);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::wstring wide(MAX_PATH, L'\0');
    DWORD length = GetFinalPathNameByHandleW(h, wide.data(), static_cast<DWORD>(wide.size()), 0);
    if (length >= wide.size()) {
        wide.resize(length);
        length = GetFinalPathNameByHandleW(h, wide.data(), static_cast<DWORD>(wide.size()), 0);
    }
    CloseHandle(h);
    if (length == 0 || length >= wide.size())
        return std::nullopt;
    wide.resize(length);
    // "\\?\C:\..." for a drive, "\\?\UNC\server\..." for a share.
    if (wide.rfind(L"\\\\?\\UNC\\", 0) == 0)
        wide = L"\\" + wide.substr(7);
    else if (wide.rfind(L"\\\\?\\", 0) == 0)
        wide = wide.substr(4);
    return narrow(wide);
}

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::optional<NameProblem> fileNameProblem(std::string_view name)
{
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 32)
            return NameProblem{NameProblem::controlCharacter, c};
        if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            return NameProblem{NameProblem::forbiddenCharacter, c};
    }
    if (isWindowsDeviceName(name))
        return NameProblem{NameProblem::deviceName};
    if (widen(name).size() > 255)
        return NameProblem{NameProblem::tooLong};
    return std::nullopt;
}

bool isPossibleFileName(std::string_view name)
{
    const auto problem = fileNameProblem(name);
    return !problem || problem->kind == NameProblem::tooLong;
}

const char* systemName()
{
    return "Windows";
}

bool removeFile(const std::string& path)
{
    return DeleteFileW(widePath(path).c_str()) != 0;
}

bool replaceable(const std::string& path)
{
    // Asks for what a replacing rename needs: refused while another handle
    // does not share deletion (a PDF viewer, a spreadsheet program).
    HANDLE h = CreateFileW(widePath(path).c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    CloseHandle(h);
    return true;
}

bool moveReplacing(const std::wstring& from, const std::wstring& to, DWORD flags)
{
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | flags))
            return true;
        const DWORD error = GetLastError(); // kept for lastFailure()
        if (attempt == 20 || (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(50);
    }
}

bool replaceFile(const std::string& from, const std::string& to)
{
    return moveReplacing(widePath(from), widePath(to), MOVEFILE_WRITE_THROUGH);
}

bool watchHoldsFolder()
{
    return true;
}

bool errorIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

std::optional<std::string> cacheFolder(std::string_view program)
{
    const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
    if (!local || !*local)
        return std::nullopt;
    return narrow(local) + "\\" + std::string(program) + "\\cache";
}

bool flushPath(const std::string& path)
{
    HANDLE h = CreateFileW(widePath(path).c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(h) != 0;
    const DWORD error = GetLastError();
    CloseHandle(h);
    SetLastError(error);
    return flushed;
}

bool makeFolder(const std::string& path)
{
    return CreateDirectoryW(widePath(path).c_str(), nullptr) != 0;
}

bool makeUniqueFolder(std::string& path)
{
    return tryUniqueNames(path, ERROR_ALREADY_EXISTS, [&] { return makeFolder(path); });
}

bool removeFolder(const std::string& path)
{
    return RemoveDirectoryW(widePath(path).c_str()) != 0;
}

bool renameToNew(const std::string& from, const std::string& to)
{
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_WRITE_THROUGH) != 0;
}

bool copyBytes(File from, File to, std::uint64_t count)
{
    std::string buffer(std::size_t{1} << 20, '\0');
    while (count > 0) {
        const auto n =
            read(from, buffer.data(),
                 static_cast<std::size_t>(std::min<std::uint64_t>(count, buffer.size())));
        if (!n || *n == 0 || !writeAll(to, std::string_view(buffer.data(), *n)))
            return false;
        count -= *n;
    }
    return true;
}

Failure lastFailure()
{
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Failure::diskFull;
    case ERROR_WRITE_PROTECT:
    case ERROR_ACCESS_DENIED:
        return Failure::readOnly;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return Failure::inUse;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return Failure::missing;
    default:
        return Failure::other;
    }
}

bool syncFolder(const std::string&, FolderSync)
{
    return true; // no folder sync exists; the rename was written through
}

int syncDescriptor(int)
{
    return 0;
}

namespace {

struct Listing {
    std::wstring folder; // with a trailing separator
    WIN32_FIND_DATAW data;
};

} // namespace

bool FolderEntry::isRegularFile() const
{
    const auto& listing = *reinterpret_cast<const Listing*>(folder_);
    const DWORD attributes = listing.data.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return isFileAttributes(attributes);
    const DWORD target = GetFileAttributesW((listing.folder + listing.data.cFileName).c_str());
    return target != INVALID_FILE_ATTRIBUTES && isFileAttributes(target);
}

bool FolderEntry::isHidden() const
{
    const auto& data = *static_cast<const WIN32_FIND_DATAW*>(native_);
    return name_.starts_with('.') ||
           (data.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

bool forEachEntry(const std::string& folder, const std::function<void(const FolderEntry&)>& visit)
{
    if (folder.empty())
        return false;
    Listing listing{widePath(folder, true), {}};
    if (!isSeparator(folder.back()))
        listing.folder += L'\\';
    HANDLE find = FindFirstFileExW((listing.folder + L'*').c_str(), FindExInfoBasic, &listing.data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::string name = narrow(listing.data.cFileName);
        visit(FolderEntry(name, &listing.data, reinterpret_cast<std::intptr_t>(&listing)));
    } while (FindNextFileW(find, &listing.data));
    FindClose(find);
    return true;
}

std::uint8_t* mapPages(std::size_t length, bool)
{
    return static_cast<std::uint8_t*>(
        VirtualAlloc(nullptr, length, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

void unmapPages(std::uint8_t* start, std::size_t length)
{
    // A reservation goes only as a whole, from its start; its end is given
    // back a piece at a time by decommitting.
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQuery(start, &info, sizeof info) != 0 && info.AllocationBase == start)
        VirtualFree(start, 0, MEM_RELEASE);
    else
        VirtualFree(start, length, MEM_DECOMMIT);
}

void populatePages(void*, std::size_t)
{
    // Windows has no call for it; the pages fault in as they are written.
}

void discardPages(void* start, std::size_t length)
{
    VirtualAlloc(start, length, MEM_RESET, PAGE_READWRITE);
}

} // namespace platform
