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

RunOutcome execIn(const std::string& program, const std::string& folder)
{
    if (!SetCurrentDirectoryW(QString::fromStdString(folder).toStdWString().c_str()))
        return {RunOutcome::Failure::Folder, 1};
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
