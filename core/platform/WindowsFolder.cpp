// Folders held open: every folder of the path stays open without delete
// sharing, so none can be renamed or swapped for a link while in use, and
// no link or junction is followed into.
#include "core/Platform.h"
#include "core/platform/WindowsText.h"

#include <memory>

namespace platform {

namespace {

struct OpenFolder {
    std::wstring path; // with a trailing separator
    std::vector<HANDLE> held;
    ~OpenFolder()
    {
        for (HANDLE h : held)
            CloseHandle(h);
    }
};

const OpenFolder& of(Folder folder)
{
    return *reinterpret_cast<const OpenFolder*>(folder);
}

bool isPlain(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Holds the folder at `path` open when it is a folder and no link or junction.
bool hold(OpenFolder& folder, const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    folder.held.push_back(h);
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileInformationByHandle(h, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && isPlain(info.dwFileAttributes);
}

} // namespace

Folder openOwnFolder(const std::string& base, const std::vector<std::string>& below)
{
    auto folder = std::make_unique<OpenFolder>();
    folder->path = widePath(base, true);
    if (folder->path.empty() || !hold(*folder, folder->path))
        return kNoFolder;
    for (const std::string& name : below) {
        if (!isPossibleFileName(name) || name == "." || name == "..")
            return kNoFolder;
        if (folder->path.back() != L'\\' && folder->path.back() != L'/')
            folder->path += L'\\';
        folder->path += widen(name);
        CreateDirectoryW(folder->path.c_str(), nullptr); // fails harmlessly when it is there
        if (!hold(*folder, folder->path))
            return kNoFolder;
    }
    folder->path += L'\\';
    return reinterpret_cast<Folder>(folder.release());
}

void closeFolder(Folder folder)
{
    if (folder != kNoFolder)
        delete reinterpret_cast<OpenFolder*>(folder);
}

File openRegularFileIn(Folder folder, const std::string& name, std::uint64_t& size)
{
    HANDLE h = CreateFileW((of(folder).path + widen(name)).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return kNoFile;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !isPlain(info.dwFileAttributes)) {
        CloseHandle(h);
        return kNoFile;
    }
    size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return reinterpret_cast<File>(h);
}

File createUniqueIn(Folder folder, std::string& name)
{
    HANDLE h = INVALID_HANDLE_VALUE;
    tryUniqueNames(name, ERROR_FILE_EXISTS, [&] {
        h = CreateFileW((of(folder).path + widen(name)).c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        return h != INVALID_HANDLE_VALUE;
    });
    return h != INVALID_HANDLE_VALUE ? reinterpret_cast<File>(h) : kNoFile;
}

bool replaceFileIn(Folder folder, const std::string& from, const std::string& to)
{
    const std::wstring& path = of(folder).path;
    return moveReplacing(path + widen(from), path + widen(to));
}

bool removeFileIn(Folder folder, const std::string& name)
{
    // A link is removed itself, never what it leads to.
    return DeleteFileW((of(folder).path + widen(name)).c_str()) != 0;
}

bool forEachFileIn(Folder folder,
                   const std::function<void(std::string_view name, const FileStatus&)>& visit)
{
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileExW((of(folder).path + L'*').c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !isPlain(data.dwFileAttributes))
            continue;
        FileStatus status;
        status.regular = true;
        status.mode = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
        status.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        status.modifiedNs = nanoseconds(data.ftLastWriteTime);
        visit(narrow(data.cFileName), status);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return true;
}

} // namespace platform
