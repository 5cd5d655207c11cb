#include "starter/Launch.h"

#include <QString>

#include <windows.h>

// Windows has no exec: the judging program runs as a child in the folder
// and its exit code becomes the starter's.
namespace starter {

std::string starterFolder()
{
    std::wstring self(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size()));
    self.resize(length < self.size() ? length : 0);
    const auto separator = self.find_last_of(L"\\/");
    self.resize(separator == std::wstring::npos ? 0 : separator + 1);
    return QString::fromStdWString(self).toStdString();
}

namespace {

// Set by the administrator (or a policy); the manifest's longPathAware
// alone does not lift the limit of the working folder.
bool longPathsEnabled()
{
    DWORD value = 0;
    DWORD size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\FileSystem",
                        L"LongPathsEnabled", RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS &&
           value == 1;
}

} // namespace

RunOutcome execIn(const std::string& program, const std::string& folder)
{
    const std::wstring wideFolder = QString::fromStdString(folder).toStdWString();
    // The working folder takes MAX_PATH - 2 characters unless long paths are on.
    if (wideFolder.size() > MAX_PATH - 2 && !longPathsEnabled())
        return {RunOutcome::Failure::FolderTooLong, 1};
    if (!SetCurrentDirectoryW(wideFolder.c_str()))
        return {GetLastError() == ERROR_FILENAME_EXCED_RANGE ? RunOutcome::Failure::FolderTooLong
                                                             : RunOutcome::Failure::Folder,
                1};
    std::wstring application = QString::fromStdString(program).toStdWString();
    if (!QString::fromStdWString(application).endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        application += L".exe";
    std::wstring commandLine = L"\"" + application + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return {RunOutcome::Failure::Program, 1};
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    return {RunOutcome::Failure::None, static_cast<int>(exitCode)};
}

} // namespace starter
